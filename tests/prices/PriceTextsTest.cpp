// What the price-list windows say, text by text: the menu, both lists in either price set with
// their column headers and hint, and both modify forms with the label of every box and the
// words and dots of their progress while the server is slow.
#include "prices/PriceList.h"
#include "prices/PriceListWindow.h"
#include "prices/PriceModifyForm.h"
#include "prices/frmDatabase.h"

#include "changes/ChangeRequest.h"
#include "common/Globals.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "support/WindowTexts.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <functional>
#include <map>
#include <memory>
#include <string>

using namespace quillon;
using testsupport::FakeSite;
using testsupport::Shown;
using testsupport::TextRow;

namespace {

const QByteArray kCalc = "1,0,0,5,6,30,60,60,60,60,0,0\n2,10,0.25,7.5,6,30,60,30,60,30,1,0\n";
const QByteArray kRate = "1,0.30,0.20,0.30,0.20,0,1\n2,1.10,0.90,1.10,0.90,0,2\n";
const QByteArray kCc = "44,United Kingdom,9,2\n";

// A line of each list, as its modify form gets it.
PriceLine domesticLine() {
    return PriceLine{
        {"Local", "60", "1.10", "30", "0.90", "0", "10", "0.25", "7.5", "30", "6", "1", "0", "2"},
        {"2", "1.10", "0.90", "1.10", "0.90", "0", "2"},
        {"2", "10", "0.25", "7.5", "6", "30", "60", "30", "60", "30", "1", "0"}};
}
PriceLine internationalLine() {
    return buildPriceList(PriceListKind::International, PriceSet::Guest, {kRate, kCalc, kCc})
        .lines.value(0);
}

const testsupport::WindowMakers& makers() {
    static const testsupport::WindowMakers m{
        {"frmDatabase", [] { return std::make_unique<frmDatabase>(); }},
        {"frmdomesticpricing", [] { return std::make_unique<frmdomesticpricing>(); }},
        {"frminternational", [] { return std::make_unique<frminternational>(); }},
        {"frmdomesticpricing Admin",
         [] {
             G().g_AdminPricing = true;
             return std::make_unique<frmdomesticpricing>();
         }},
        {"frminternational Admin",
         [] {
             G().g_AdminPricing = true;
             return std::make_unique<frminternational>();
         }},
        {"frmdomesticpricingmodify",
         [] { return std::make_unique<frmdomesticpricingmodify>(domesticLine()); }},
        {"frminternationalpricingmodify",
         [] { return std::make_unique<frminternationalpricingmodify>(internationalLine()); }},
    };
    return m;
}

class PriceWindows : public ::testing::Test {
protected:
    PriceWindows() {
        G().g_AdminPricing = false;
        FakeSite::addServerTables(server);
        server.addFile(FakeSite::folder() + "/calc.csv", kCalc);
        server.addFile(FakeSite::folder() + "/rate.csv", kRate);
        server.addFile(FakeSite::folder() + "/cc.csv", kCc);
    }
    ~PriceWindows() override { G().g_AdminPricing = false; }

    testsupport::TempHome home;
    FakeSite site;
    testsupport::FakeServer server;
    testsupport::ScriptedPrompter prompter;
};

class PriceTexts : public PriceWindows, public ::testing::WithParamInterface<TextRow> {};

TEST_P(PriceTexts, StandAsTheUserMustSeeThem) {
    testsupport::expectShownText(makers(), GetParam());
}

TextRow headerOf(const char* window, int column, const char* text) {
    return {window, "pricinggrid", Shown::Header, column, text};
}
TextRow labelOf(const char* window, const char* box, const char* text) {
    return {window, box, Shown::Label, 0, text};
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PriceTexts,
    ::testing::Values(
        TextRow{"frmDatabase", "", Shown::Caption, 0, "Database Manager"},
        TextRow{"frmDatabase", "lblpricing", Shown::Text, 0, "Domestic Pricing"},
        TextRow{"frmDatabase", "lblCC", Shown::Text, 0, "International Pricing"},
        TextRow{"frmDatabase", "cmdpricing", Shown::Text, 0, ""},
        TextRow{"frmDatabase", "cmdCC", Shown::Text, 0, ""},
        // The domestic list, Guest then Admin.
        TextRow{"frmdomesticpricing", "", Shown::Caption, 0, "Domestic Guest Pricing"},
        TextRow{"frmdomesticpricing Admin", "", Shown::Caption, 0, "Domestic Admin Pricing"},
        TextRow{"frmdomesticpricing", "optguest", Shown::Text, 0, "Guest"},
        TextRow{"frmdomesticpricing", "optadmin", Shown::Text, 0, "Admin"},
        TextRow{"frmdomesticpricing", "cmdmodify", Shown::Text, 0, "Modify"},
        TextRow{"frmdomesticpricing", "lbldir", Shown::Text, 0,
                "Click on the row then click on  modify or Double click the row you want to "
                "modify."},
        headerOf("frmdomesticpricing", 0, "Catagory"),
        headerOf("frmdomesticpricing", 1, "Initail period"),
        headerOf("frmdomesticpricing Admin", 1, "Initail period"),
        headerOf("frmdomesticpricing", 2, "Initial Cost"),
        headerOf("frmdomesticpricing", 3, "Additional Time"),
        headerOf("frmdomesticpricing", 4, "Additional Cost"),
        headerOf("frmdomesticpricing", 5, "Surcharge"),
        headerOf("frmdomesticpricing", 6, "% Markup"),
        headerOf("frmdomesticpricing", 7, "Fixed Markup"), headerOf("frmdomesticpricing", 8, "Tax"),
        headerOf("frmdomesticpricing", 9, "Threshold Time"),
        headerOf("frmdomesticpricing", 10, "Grace"), headerOf("frmdomesticpricing", 11, "Flag"),
        headerOf("frmdomesticpricing", 12, "Break Row"), headerOf("frmdomesticpricing", 13, ""),
        // The international list: its first header, and the one header that differs by set.
        TextRow{"frminternational", "", Shown::Caption, 0, "International Guest Pricing"},
        TextRow{"frminternational Admin", "", Shown::Caption, 0, "International Admin Pricing"},
        TextRow{"frminternational", "optguest", Shown::Text, 0, "Guest"},
        TextRow{"frminternational", "optadmin", Shown::Text, 0, "Admin"},
        TextRow{"frminternational", "cmdmodify", Shown::Text, 0, "Modify"},
        TextRow{"frminternational", "lbldir", Shown::Text, 0,
                "Click on the row then click on  modify or Double click the row you want to "
                "modify."},
        headerOf("frminternational", 0, "Country"),
        headerOf("frminternational", 1, "Initail period"),
        headerOf("frminternational Admin", 1, "Initial period"),
        headerOf("frminternational", 2, "Initial Cost"),
        headerOf("frminternational", 3, "Additional Time"),
        headerOf("frminternational", 4, "Additional Cost"),
        headerOf("frminternational", 5, "Surcharge"), headerOf("frminternational", 6, "% Markup"),
        headerOf("frminternational", 7, "Fixed Markup"), headerOf("frminternational", 8, "Tax"),
        headerOf("frminternational", 9, "Threshold Time"),
        headerOf("frminternational", 10, "Grace"), headerOf("frminternational", 11, "Flag"),
        headerOf("frminternational", 12, "Break Row"), headerOf("frminternational", 13, ""),
        // The modify forms.
        TextRow{"frmdomesticpricingmodify", "", Shown::Caption, 0, "Domestic Pricing (Modify)"},
        TextRow{"frminternationalpricingmodify", "", Shown::Caption, 0,
                "Modify International  Pricing"},
        labelOf("frmdomesticpricingmodify", "txtcatagory", "Catagory"),
        labelOf("frmdomesticpricingmodify", "txtoait", "Initial Time Period"),
        labelOf("frmdomesticpricingmodify", "txtoaic", "Initial Cost"),
        labelOf("frmdomesticpricingmodify", "txtoaat", "Additional Time Period"),
        labelOf("frmdomesticpricingmodify", "txtoaac", "Additional Cost"),
        labelOf("frmdomesticpricingmodify", "txtmarkup", "Surcharge"),
        labelOf("frmdomesticpricingmodify", "txtpmkup", "% Markup"),
        labelOf("frmdomesticpricingmodify", "txtfmkup", "Fixed Markup"),
        labelOf("frmdomesticpricingmodify", "txtptax", "Tax %"),
        labelOf("frmdomesticpricingmodify", "txtthres", "Threshold Time"),
        TextRow{"frmdomesticpricingmodify", "cmdsave", Shown::Text, 0, "Save"},
        TextRow{"frmdomesticpricingmodify", "Cmdclose", Shown::Text, 0, "Cancel"},
        labelOf("frminternationalpricingmodify", "txtcatagory", "Catagory"),
        labelOf("frminternationalpricingmodify", "txtoait", "Initial Time Period"),
        labelOf("frminternationalpricingmodify", "txtoaic", "Initial Cost"),
        labelOf("frminternationalpricingmodify", "txtoaat", "Additional Time Period"),
        labelOf("frminternationalpricingmodify", "txtoaac", "Additional Cost"),
        labelOf("frminternationalpricingmodify", "txtmarkup", "Surcharge"),
        labelOf("frminternationalpricingmodify", "txtpmkup", "% Markup"),
        labelOf("frminternationalpricingmodify", "txtfmkup", "Fixed Markup"),
        labelOf("frminternationalpricingmodify", "txtptax", "Tax %"),
        labelOf("frminternationalpricingmodify", "txtthres", "Threshold Time"),
        TextRow{"frminternationalpricingmodify", "cmdsave", Shown::Text, 0, "Save"},
        TextRow{"frminternationalpricingmodify", "Cmdclose", Shown::Text, 0, "Cancel"}),
    testsupport::rowName);

// Both modify forms say "Saving Data" with up to ten dots while the server takes the request.
class PriceProgress : public PriceTexts {};

TEST_P(PriceProgress, RunsFromOneDotToTenWhileTheRequestIsSent) {
    const TextRow& row = GetParam();
    const auto window = makers().at(row.window)();
    window->show();
    QStringList round;
    testsupport::lookWhileHeld(server, QRegularExpression("^echo "), [&] {
        round = testsupport::progressRound(window.get(), row.control, row.expected);
    });
    prompter.allowUnusedAnswers().ok().ok();
    auto* save = testsupport::control<QAbstractButton>(window.get(), "cmdsave");
    ASSERT_NE(save, nullptr);
    save->click();
    EXPECT_TRUE(prompter.messages().size() <= 1) << prompter.messages().join('|').toStdString();
    EXPECT_EQ(round.join('|').toStdString(),
              testsupport::dotsFrom("Saving Data.", row.expected).join('|').toStdString());
}

INSTANTIATE_TEST_SUITE_P(Forms, PriceProgress,
                         ::testing::Values(TextRow{"frmdomesticpricingmodify", "lblrunning",
                                                   Shown::Text, 0, "Saving Data.........."},
                                           TextRow{"frminternationalpricingmodify", "lblrunning",
                                                   Shown::Text, 0, "Saving Data.........."}),
                         testsupport::rowName);

// After an accepted answer the form says that the tables are being refreshed while it pulls
// them.
TEST_P(PriceProgress, TellsTheRefreshWhileTheTablesArePulled) {
    const auto window = makers().at(GetParam().window)();
    auto& form = static_cast<ChangeForm&>(*window);
    window->show();
    testsupport::control<QAbstractButton>(window.get(), "cmdsave")->click();
    ASSERT_EQ(form.state(), ChangeExchange::State::Waiting);
    const QString done = form.exchange().answerName();
    server.on(answerPollLine(done)).reply(done + "\n");
    server.addFile(FakeSite::folder() + "/" + done, "1,Record modify OK\n2,Record modify OK\n");
    const auto seen = testsupport::labelWhenFetched(server, window.get(), "lblrunning",
                                                    FakeSite::folder() + "/rate.csv");
    prompter.ok();
    EXPECT_TRUE(testsupport::waitFor([&] { return seen->seen; }, 5000));
    EXPECT_TRUE(seen->visible);
    EXPECT_EQ(seen->text.toStdString(), "Refreshing System information. Please wait");
}

}  // namespace
