// What the area-code windows and the call calculator say, text by text: captions, the labels
// of boxes and picture buttons, the table window's column headers, the calculator's labels in
// either kind of call, and the words and dots of each progress label while the server is slow.
#include "rates/fcallcalc.h"
#include "rates/frmac.h"
#include "rates/frmaddac.h"
#include "rates/frmareacode.h"
#include "rates/frmeditAC.h"

#include "changes/ChangeRequest.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "support/WindowTexts.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
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

const QByteArray kLd = "1,617,556,Cambridge MA,1,250\n";
const QByteArray kRate = "250,0.05,0.05,0.08,0.08,0,1\n";
const QByteArray kCalc = "1,0,0,5,0,0,60,60,60,60,1,0\n";

const testsupport::WindowMakers& makers() {
    static const testsupport::WindowMakers m{
        {"frmareacode", [] { return std::make_unique<frmareacode>(); }},
        {"frmac", [] { return std::make_unique<frmac>(); }},
        {"frmaddac", [] { return std::make_unique<frmaddac>(); }},
        {"frmeditAC",
         [] {
             return std::make_unique<frmeditAC>(
                 QStringList{"1", "617", "556", "Cambridge MA", "250", "Local"});
         }},
        {"fcallcalc", [] { return std::make_unique<fcallcalc>(); }},
        {"fcallcalc international",
         [] {
             auto w = std::make_unique<fcallcalc>();
             w->chkinternational->setChecked(true);
             return w;
         }},
        {"fcallcalc domestic again",
         [] {
             auto w = std::make_unique<fcallcalc>();
             w->chkinternational->setChecked(true);
             w->chkinternational->setChecked(false);
             return w;
         }},
    };
    return m;
}

class AreaCodeWindows : public ::testing::Test {
protected:
    AreaCodeWindows() {
        FakeSite::addServerTables(server);
        server.addFile(FakeSite::folder() + "/ld.csv", kLd);
        server.addFile(FakeSite::folder() + "/rate.csv", kRate);
        server.addFile(FakeSite::folder() + "/calc.csv", kCalc);
        home.write("North/Bats/rate.csv", kRate);
        home.write("North/Bats/calc.csv", kCalc);
        home.write("North/Bats/lt.csv", "1,Administrative\r\n");
    }

    testsupport::TempHome home;
    FakeSite site;
    testsupport::FakeServer server;
    testsupport::ScriptedPrompter prompter;
};

class AreaCodeTexts : public AreaCodeWindows, public ::testing::WithParamInterface<TextRow> {};

TEST_P(AreaCodeTexts, StandAsTheUserMustSeeThem) {
    testsupport::expectShownText(makers(), GetParam());
}

// A column header of one of the table window's three grids.
TextRow headerOf(const char* grid, int column, const char* text) {
    return {"frmac", grid, Shown::Header, column, text};
}

INSTANTIATE_TEST_SUITE_P(
    Windows, AreaCodeTexts,
    ::testing::Values(
        TextRow{"frmareacode", "", Shown::Caption, 0, "Areacodes/Prefixes"},
        TextRow{"frmareacode", "cmdLD", Shown::Label, 0, "Modify Area Codes"},
        TextRow{"frmareacode", "cmdaddac", Shown::Label, 0, "Add Area Codes"},
        // The table window.
        TextRow{"frmac", "", Shown::Caption, 0, "Area Codes"},
        headerOf("MSFlexGrid1", 0, "Key Field"), headerOf("MSFlexGrid1", 1, "Area Code"),
        headerOf("MSFlexGrid1", 2, "Prefix"), headerOf("MSFlexGrid1", 3, "Location"),
        headerOf("MSFlexGrid1", 4, "Rate Number"), headerOf("MSFlexGrid1", 5, "Rate"),
        headerOf("MSFlexGrid2", 0, "Row #"), headerOf("MSFlexGrid2", 1, "OAIC"),
        headerOf("MSFlexGrid2", 2, "OAAC"), headerOf("MSFlexGrid2", 3, "DDIC"),
        headerOf("MSFlexGrid2", 4, "DDAC"), headerOf("MSFlexGrid2", 5, "MARKUP"),
        headerOf("MSFlexGrid2", 6, "Cacl Row"), headerOf("MSFlexGrid3", 0, "Row #"),
        headerOf("MSFlexGrid3", 1, "pmkup"), headerOf("MSFlexGrid3", 2, "fmkup"),
        headerOf("MSFlexGrid3", 3, "ptax"), headerOf("MSFlexGrid3", 4, "grace"),
        headerOf("MSFlexGrid3", 5, "thres"), headerOf("MSFlexGrid3", 6, "ddit"),
        headerOf("MSFlexGrid3", 7, "ddat"), headerOf("MSFlexGrid3", 8, "oait"),
        headerOf("MSFlexGrid3", 9, "oaat"), headerOf("MSFlexGrid3", 10, "flag"),
        headerOf("MSFlexGrid3", 11, "br"),
        TextRow{"frmac", "chkAreaCode", Shown::Text, 0, "Filter Area Code"},
        TextRow{"frmac", "chkPrefix", Shown::Text, 0, "Filter Prefix"},
        TextRow{"frmac", "cmdFilter", Shown::Text, 0, "Apply Filter"},
        // The add form.
        TextRow{"frmaddac", "", Shown::Caption, 0, "Add Area Codes"},
        TextRow{"frmaddac", "txtname", Shown::Label, 0, "Name:"},
        TextRow{"frmaddac", "txtareacode", Shown::Label, 0, "Area Code:"},
        TextRow{"frmaddac", "txtprefix", Shown::Label, 0, "Prefix:"},
        TextRow{"frmaddac", "cborate", Shown::Label, 0, "Rate:"},
        TextRow{"frmaddac", "cborate", Shown::Items, 0,
                "Intrastate|Local|Interstate|Toll Free|Local Information|Intrastate "
                "Information|LD Information|900 Calls|911"},
        TextRow{"frmaddac", "cmdsave", Shown::Text, 0, "Save"},
        TextRow{"frmaddac", "cmdcancel", Shown::Text, 0, "Cancel"},
        // The modify form.
        TextRow{"frmeditAC", "", Shown::Caption, 0, "Modify Area Codes"},
        TextRow{"frmeditAC", "txtareacode", Shown::Label, 0, "Area Code"},
        TextRow{"frmeditAC", "txtprefix", Shown::Label, 0, "Prefix"},
        TextRow{"frmeditAC", "txtname", Shown::Label, 0, "Name"},
        TextRow{"frmeditAC", "cborate", Shown::Label, 0, "Rate"},
        TextRow{"frmeditAC", "cborate", Shown::Items, 0,
                "Intrastate|Local|Interstate|Toll Free|Local Information|Intrastate "
                "Information|LD Information|900 Calls"},
        TextRow{"frmeditAC", "cmdsave", Shown::Text, 0, "Save "},
        TextRow{"frmeditAC", "Cmdclose", Shown::Text, 0, "Cancel"},
        // The calculator, as it opens and after the international tick is set and cleared.
        TextRow{"fcallcalc", "", Shown::Caption, 0, "Call Calculator"},
        TextRow{"fcallcalc", "Lblareacode", Shown::Text, 0, "Enter Area Code"},
        TextRow{"fcallcalc", "lblprefix", Shown::Text, 0, "Enter Prefix"},
        TextRow{"fcallcalc", "lblduration", Shown::Text, 0, "Enter Duration"},
        TextRow{"fcallcalc", "chkinternational", Shown::Text, 0, "International call"},
        TextRow{"fcallcalc", "Label5", Shown::Text, 0, "Choose Line Type"},
        TextRow{"fcallcalc", "Command1", Shown::Text, 0, "RUN REPORT"},
        TextRow{"fcallcalc international", "Lblareacode", Shown::Text, 0, "International Code"},
        TextRow{"fcallcalc international", "lblprefix", Shown::Text, 0, "Country Code"},
        TextRow{"fcallcalc international", "txtarea", Shown::Text, 0, "011"},
        TextRow{"fcallcalc domestic again", "Lblareacode", Shown::Text, 0, "Area Code"},
        TextRow{"fcallcalc domestic again", "lblprefix", Shown::Text, 0, "Prefix"}),
    testsupport::rowName);

// Each window's progress while the server holds its first line of work.
struct ProgressCase {
    TextRow row;  // the label and its longest text
    const char* first;
    const char* held;  // the line the server holds (a regular expression)
    std::function<void(QWidget&)> start;
};
void PrintTo(const ProgressCase& c, std::ostream* os) {
    *os << c.row.window;
}

class AreaCodeProgress : public AreaCodeWindows,
                         public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(AreaCodeProgress, RunsToItsLongestTextAndStartsAgain) {
    const ProgressCase& c = GetParam();
    const auto window = makers().at(c.row.window)();
    window->show();
    QStringList round;
    testsupport::lookWhileHeld(server, QRegularExpression(c.held), [&] {
        round = testsupport::progressRound(window.get(), c.row.control, c.row.expected);
    });
    prompter.allowUnusedAnswers().ok().ok();
    c.start(*window);
    EXPECT_EQ(round.join('|').toStdString(),
              testsupport::dotsFrom(c.first, c.row.expected).join('|').toStdString());
}

void save(QWidget& w) {
    if (auto* b = testsupport::control<QAbstractButton>(&w, "cmdsave")) b->click();
}

const ProgressCase kAddForm{{"frmaddac", "lblrunning", Shown::Text, 0, "Saving Data.........."},
                            "Saving Data.",
                            "^echo ",
                            [](QWidget& w) {
                                auto& f = static_cast<frmaddac&>(w);
                                f.txtname->setText("Boston MA");
                                f.txtareacode->setText("617");
                                f.txtprefix->setText("555");
                                f.cborate->setCurrentIndex(f.cborate->findText("Local"));
                                save(w);
                            }};
const ProgressCase kModifyForm{{"frmeditAC", "lblrunning", Shown::Text, 0, "Saving Data.........."},
                               "Saving Data.",
                               "^echo ",
                               [](QWidget& w) {
                                   static_cast<frmeditAC&>(w).txtname->setText("Kendall MA");
                                   save(w);
                               }};
const ProgressCase kCalculator{
    {"fcallcalc", "lblrunning", Shown::Text, 0, "Report Running.........."},
    "Report Running.",
    "^\\./ORV_CCAL ",
    [](QWidget& w) {
        auto& f = static_cast<fcallcalc&>(w);
        f.txtarea->setText("617");
        f.txtprefix->setText("555");
        f.txtduration->setText("5");
        testsupport::control<QComboBox>(&f, "cboDivision")->setCurrentIndex(0);
        testsupport::control<QAbstractButton>(&f, "Command1")->click();
    }};

INSTANTIATE_TEST_SUITE_P(Windows, AreaCodeProgress,
                         ::testing::Values(kAddForm, kModifyForm, kCalculator),
                         [](const auto& info) { return std::string(info.param.row.window); });

// After an accepted answer each form says that the tables are being refreshed while it pulls
// them.
class AreaCodeRefresh : public AreaCodeWindows,
                        public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(AreaCodeRefresh, IsToldWhileTheTablesArePulled) {
    const auto window = makers().at(GetParam().row.window)();
    auto& form = static_cast<ChangeForm&>(*window);
    window->show();
    GetParam().start(*window);
    ASSERT_EQ(form.state(), ChangeExchange::State::Waiting);
    const QString done = form.exchange().answerName();
    server.on(answerPollLine(done)).reply(done + "\n");
    server.addFile(FakeSite::folder() + "/" + done, GetParam().row.window == std::string("frmaddac")
                                                        ? "1,Record added OK\n"
                                                        : "1,Record modify OK\n");
    const auto seen = testsupport::labelWhenFetched(server, window.get(), "lblrunning",
                                                    FakeSite::folder() + "/ld.csv");
    prompter.ok();
    EXPECT_TRUE(testsupport::waitFor([&] { return seen->seen; }, 5000));
    EXPECT_TRUE(seen->visible);
    EXPECT_EQ(seen->text.toStdString(), "Refreshing System information. Please wait");
}

INSTANTIATE_TEST_SUITE_P(Forms, AreaCodeRefresh, ::testing::Values(kAddForm, kModifyForm),
                         [](const auto& info) { return std::string(info.param.row.window); });

}  // namespace
