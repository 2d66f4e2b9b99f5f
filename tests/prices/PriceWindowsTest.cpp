// The price-list windows through the fake server: the menu, the two lists (their pull on every
// load, grid, sort markers, Modify and the reload of the set the pricing question chose) and
// the two modify forms (the lines they send, the answers, the checks of the amounts, the
// differing-halves question and their Cancel).
#include "prices/PriceListWindow.h"
#include "prices/PriceModifyForm.h"
#include "prices/frmDatabase.h"
#include "support/Controls.h"
#include "support/Modal.h"
#include "support/ProgramWindows.h"

#include "changes/ChangeRequest.h"
#include "common/Globals.h"
#include "remote/CheckedLines.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "widgets/SortableGrid.h"
#include "widgets/WindowRegistry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <ostream>
#include <utility>

using namespace quillon;
using testsupport::control;
using testsupport::FakeSite;
using State = ChangeExchange::State;

namespace {

// The server's tables: Guest calc rows 239, 250 and Admin 506 with rate rows 239, 250, 300
// (calc 250, a second "Local" line) and 506; countries of rows 209 and 210.
const QByteArray kCalc =
    "209,0,0,7.5,6,30,60,60,60,60,0,0\n"
    "210,5,0,7.5,6,30,30,30,30,30,0,0\n"
    "239,0,0,5,6,30,60,60,60,60,0,0\n"
    "250,10,0.25,7.5,6,30,60,30,60,30,1,0\n"
    "465,1,0,7.5,6,30,90,90,90,90,0,0\n"
    "466,2,0,7.5,6,30,90,90,90,90,0,0\n"
    "506,12,0.5,8,6,45,30,30,30,30,0,1\n";
const QByteArray kRate =
    "239,0.30,0.20,0.30,0.20,0,239\n"
    "250,0.15,0.10,0.15,0.10,0.50,250\n"
    "300,0.05,0.02,0.05,0.02,0,250\n"
    "506,0.40,0.35,0.40,0.35,1.00,506\n"
    "209,1.10,0.90,1.10,0.90,0,209\n"
    "210,1.20,0.80,1.20,0.80,0,210\n"
    "465,2.10,1.90,2.10,1.90,0,465\n"
    "466,2.20,1.80,2.20,1.80,0,466\n";
const QByteArray kCc = "44,United Kingdom,9,209\n49,Germany,9,210\n";

class PriceWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeSite::addServerTables(server);
        server.addFile(FakeSite::folder() + "/calc.csv", kCalc);
        server.addFile(FakeSite::folder() + "/rate.csv", kRate);
        server.addFile(FakeSite::folder() + "/cc.csv", kCc);
    }
    int tableFetches() const {
        int n = 0;
        for (const auto& fetch : server.fetches())
            if (fetch.remotePath.endsWith(".csv")) ++n;
        return n;
    }
    static QStringList column(const SortableGrid* g, int col) {
        QStringList out;
        for (int r = 1; r <= g->dataRows(); ++r) out << g->cell(r, col);
        return out;
    }
    static void clickHeader(SortableGrid* g, int col) {
        QHeaderView* header = g->horizontalHeader();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                   header->height() / 2));
    }

    testsupport::TempHome home;
    FakeSite site;
    testsupport::FakeServer server;
    testsupport::ScriptedPrompter prompter;
};

// ---- the menu ---------------------------------------------------------------------------------

TEST_F(PriceWindowTest, TheMenuOpensEachListWithTheHourglassOnItself) {
    frmDatabase menu;
    menu.show();
    EXPECT_EQ(menu.windowTitle(), "Database Manager");
    EXPECT_TRUE(menu.cmdpricing->text().isEmpty());
    EXPECT_EQ(menu.lblpricing->text(), "Domestic Pricing");
    EXPECT_EQ(menu.lblCC->text(), "International Pricing");
    QStringList opened;
    QList<Qt::CursorShape> pointers;
    setWindowOpenHook([&](const QString& name) {
        opened << name;
        pointers << menu.cursor().shape();
    });
    QTest::mouseClick(menu.cmdpricing, Qt::LeftButton);
    QTest::mouseClick(menu.cmdCC, Qt::LeftButton);
    setWindowOpenHook({});
    EXPECT_EQ(opened, (QStringList{"frmdomesticpricing", "frminternational"}));
    EXPECT_EQ(pointers, (QList<Qt::CursorShape>{Qt::WaitCursor, Qt::WaitCursor}));
    EXPECT_EQ(menu.cursor().shape(), Qt::ArrowCursor);
}

// A second click on the menu, or a double click, while the first list still pulls its tables
// opens no second list.
TEST_F(PriceWindowTest, ClicksOnTheMenuWhileAListLoadsOpenNoSecondList) {
    frmDatabase menu;
    menu.show();
    QStringList opened;
    bool held = false;
    server.onFetch(FakeSite::folder() + "/calc.csv", [&] {
        if (std::exchange(held, true)) return;
        setWindowOpenHook([&](const QString& name) { opened << name; });
        QTest::mouseClick(menu.cmdpricing, Qt::LeftButton);
        QTest::mouseDClick(menu.cmdCC, Qt::LeftButton);
        setWindowOpenHook({});
    });
    testsupport::closeWhenShown("frmdomesticpricing");
    QTest::mouseClick(menu.cmdpricing, Qt::LeftButton);
    EXPECT_TRUE(held);
    EXPECT_TRUE(opened.isEmpty()) << opened.join(' ').toStdString();
}

// ---- the lists --------------------------------------------------------------------------------

TEST_F(PriceWindowTest, EachLoadPullsTheTablesAndShowsTheSetChosen) {
    frmdomesticpricing list;
    list.show();
    EXPECT_EQ(tableFetches(), 13);
    EXPECT_EQ(list.windowTitle(), "Domestic Guest Pricing");
    EXPECT_TRUE(list.optguest->isChecked());
    EXPECT_EQ(list.lbldir->text(),
              "Click on the row then click on  modify or Double click the row "
              "you want to modify.");
    SortableGrid* g = list.pricinggrid;
    EXPECT_EQ(g->columns(), 14);
    EXPECT_EQ(column(g, 0), (QStringList{"Canada", "Local", "Local"}));
    EXPECT_EQ(g->rowCells(2), (QStringList{"Local", "60", "0.15", "30", "0.10", "0.50", "10",
                                           "0.25", "7.5", "30", "6", "1", "0", "250"}));
    for (int c = 0; c < 14; ++c) EXPECT_EQ(g->isColumnHidden(c), c >= 10) << c;

    QTest::mouseClick(list.optadmin, Qt::LeftButton);
    EXPECT_EQ(tableFetches(), 26);
    EXPECT_EQ(list.windowTitle(), "Domestic Admin Pricing");
    EXPECT_EQ(g->rowCells(1).mid(0, 3), (QStringList{"Local", "30", "0.40"}));
    EXPECT_TRUE(g->isColumnHidden(13));

    G().g_AdminPricing = true;
    frminternational world;
    world.show();
    EXPECT_EQ(world.windowTitle(), "International Admin Pricing");
    EXPECT_TRUE(world.optadmin->isChecked());
    EXPECT_EQ(world.pricinggrid->headerText(1), "Initial period");
    EXPECT_EQ(column(world.pricinggrid, 2), (QStringList{"2.10", "2.20"}));
    QTest::mouseClick(world.optguest, Qt::LeftButton);
    EXPECT_EQ(world.windowTitle(), "International Guest Pricing");
    EXPECT_EQ(world.pricinggrid->headerText(1), "Initail period");
    EXPECT_EQ(column(world.pricinggrid, 2), (QStringList{"1.10", "1.20"}));
}

TEST_F(PriceWindowTest, AFailedPullIsToldAndTheListStaysEmpty) {
    server.failFetch(FakeSite::folder() + "/rate.csv", kSessionFailed, "no such file");
    prompter.ok();
    frmdomesticpricing list;
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith(
        "The tables of this site could not all be fetched again:"));
    EXPECT_EQ(list.pricinggrid->dataRows(), 0);
    EXPECT_EQ(list.pricinggrid->columns(), 14);
}

TEST_F(PriceWindowTest, HeaderClicksSortAndMoveTheMarker) {
    frmdomesticpricing list;
    list.resize(1000, 400);
    list.show();
    SortableGrid* g = list.pricinggrid;
    clickHeader(g, 2);
    EXPECT_EQ(g->headerText(2), "> Initial Cost");
    EXPECT_EQ(column(g, 2), (QStringList{"0.05", "0.15", "0.30"}));
    clickHeader(g, 2);
    EXPECT_EQ(g->headerText(2), "< Initial Cost");
    EXPECT_EQ(column(g, 2), (QStringList{"0.30", "0.15", "0.05"}));
    clickHeader(g, 8);
    EXPECT_EQ(g->headerText(2), "Initial Cost");
    EXPECT_EQ(g->headerText(8), "> Tax");
    for (int c : {0, 1, 3, 9}) EXPECT_FALSE(g->headerText(c).startsWith("> ")) << c;
}

TEST_F(PriceWindowTest, ModifyOnTheHeaderRowOpensNothingAlsoAfterASort) {
    frmdomesticpricing list;
    list.show();
    QStringList opened;
    setWindowOpenHook([&](const QString& name) { opened << name; });
    QTest::mouseClick(list.cmdmodify, Qt::LeftButton);
    list.pricinggrid->setCurrentRow(2);
    list.pricinggrid->SortByColumn(2);
    EXPECT_EQ(list.pricinggrid->currentRow(), 0);
    QTest::mouseClick(list.cmdmodify, Qt::LeftButton);
    list.pricinggrid_DblClick();
    EXPECT_TRUE(opened.isEmpty());
    list.pricinggrid->setCurrentRow(1);
    QTest::mouseClick(list.cmdmodify, Qt::LeftButton);
    setWindowOpenHook({});
    EXPECT_EQ(opened, QStringList{"frmdomesticpricingmodify"});
    EXPECT_EQ(G().g_SelectedRow, 1);
}

// The line of the row chosen after a sort, with its own rate row; the list then comes back as
// the set of the pricing question and unsorted.
TEST_F(PriceWindowTest, ModifyGetsTheChosenLineAndTheListReloadsTheQuestionsSet) {
    G().g_AdminPricing = true;
    frmdomesticpricing list;
    list.show();
    QTest::mouseClick(list.optguest, Qt::LeftButton);
    list.pricinggrid->SortByColumn(2);  // 0.05 (rate row 300) first
    list.pricinggrid->setCurrentRow(1);
    const int fetched = tableFetches();
    QStringList seen;
    testsupport::whenShown("frmdomesticpricingmodify", [&](QWidget& w) {
        auto& f = static_cast<PriceModifyForm&>(w);
        seen << f.windowTitle() << f.txtcatagory->text() << f.txtoaic->text() << f.txtrowold->text()
             << f.line().rateFields.value(0);
        QTest::mouseClick(f.Cmdclose, Qt::LeftButton);
    });
    list.cmdmodify_Click();
    EXPECT_EQ(seen, (QStringList{"Domestic Pricing (Modify)", "Local", "0.05", "250", "300"}));
    EXPECT_EQ(tableFetches(), fetched + 13);
    EXPECT_EQ(list.windowTitle(), "Domestic Admin Pricing");
    EXPECT_TRUE(list.optadmin->isChecked());
    EXPECT_EQ(list.pricinggrid->sortColumn(), -1);
    EXPECT_EQ(column(list.pricinggrid, 2), QStringList{"0.40"});
    EXPECT_TRUE(list.isVisible());
}

// Modify and a double click while the list reloads for another set reach nothing: they would
// act on the rows shown before the reload, under the new set's caption.
TEST_F(PriceWindowTest, ModifyAndADoubleClickWhileTheListReloadsOpenNothing) {
    frmdomesticpricing list;
    list.show();
    list.pricinggrid->setCurrentRow(1);
    QStringList opened;
    bool held = false;
    server.onFetch(FakeSite::folder() + "/calc.csv", [&] {
        if (std::exchange(held, true)) return;
        setWindowOpenHook([&](const QString& name) { opened << name; });
        SortableGrid* g = list.pricinggrid;
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {},
                           g->visualRect(g->model()->index(1, 0)).center());
        QTest::mouseClick(list.cmdmodify, Qt::LeftButton);
        QTest::keyClick(g, Qt::Key_Return);
        setWindowOpenHook({});
    });
    QTest::mouseClick(list.optadmin, Qt::LeftButton);
    EXPECT_TRUE(held);
    EXPECT_TRUE(opened.isEmpty()) << opened.join(' ').toStdString();
    EXPECT_EQ(list.windowTitle(), "Domestic Admin Pricing");
    EXPECT_EQ(column(list.pricinggrid, 2), QStringList{"0.40"});
}

// ---- the modify forms -----------------------------------------------------------------------

PriceLine lineOf(PriceListKind kind, PriceSet set, int index) {
    return buildPriceList(kind, set, {QByteArray(kRate), QByteArray(kCalc), QByteArray(kCc)})
        .lines.value(index);
}
// Guest "Local" of rate row 250.
PriceLine localLine() {
    return lineOf(PriceListKind::Domestic, PriceSet::Guest, 1);
}
// Guest "United Kingdom", rows 209.
PriceLine ukLine() {
    return lineOf(PriceListKind::International, PriceSet::Guest, 0);
}

using FormMaker = std::function<std::unique_ptr<PriceModifyForm>()>;
const FormMaker kDomestic = [] { return std::make_unique<frmdomesticpricingmodify>(localLine()); };
const FormMaker kInternational = [] {
    return std::make_unique<frminternationalpricingmodify>(ukLine());
};

class ModifyFormTest : public PriceWindowTest {
protected:
    void answer(PriceModifyForm& f, const QByteArray& bytes) {
        const QString done = f.exchange().answerName();
        server.on(answerPollLine(done)).reply(done + "\n");
        server.addFile(FakeSite::folder() + "/" + done, bytes);
    }
};

struct SentCase {
    const char* name;
    FormMaker form;
    const char* box;
    const char* value;  // nullptr: unchanged
    QString rate;
    QString calc;
};
void PrintTo(const SentCase& c, std::ostream* os) {
    *os << c.name;
}

class SentRecords : public ModifyFormTest, public ::testing::WithParamInterface<SentCase> {};

TEST_P(SentRecords, WriteTheTwoRecordsInSingleQuotes) {
    const SentCase& c = GetParam();
    const auto f = c.form();
    if (c.value) control<QLineEdit>(f.get(), c.box)->setText(c.value);
    f->show();
    f->cmdsave_Click();
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    ASSERT_EQ(f->state(), State::Waiting);
    const QString todo = f->exchange().requestName();
    const QStringList lines = server.linesOf(0);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[1].toStdString(),
              withExitStatus("echo '" + c.rate + "  ' > ." + todo + ".tmp").toStdString());
    EXPECT_EQ(lines[2].toStdString(),
              withExitStatus("echo '" + c.calc + "  ' >> ." + todo + ".tmp").toStdString());
}

const QString kLocalRate = "1,mod,rate,250,0.15,0.10,0.15,0.10,0.50,250,";
const QString kLocalCalc = "2,mod,calc,250,10,0.25,7.5,6,30,60,30,60,30,1,0,";
const QString kUkRate = "1,mod,rate,209,1.10,0.90,1.10,0.90,0,209,";
const QString kUkCalc = "2,mod,calc,209,0,0,7.5,6,30,60,60,60,60,0,0,";

INSTANTIATE_TEST_SUITE_P(
    Forms, SentRecords,
    ::testing::Values(SentCase{"DomesticUnchanged", kDomestic, "", nullptr,
                               kLocalRate + "250,0.15,0.10,0.15,0.10,0.50,250",
                               kLocalCalc + "250,10,0.25,7.5,6,30,60,30,60,30,1,0"},
                      SentCase{"DomesticInitialCost", kDomestic, "txtoaic", "0.99",
                               kLocalRate + "250,0.99,0.10,0.99,0.10,0.50,250",
                               kLocalCalc + "250,10,0.25,7.5,6,30,60,30,60,30,1,0"},
                      SentCase{"DomesticAdditionalTimePeriod", kDomestic, "txtoaat", "45",
                               kLocalRate + "250,0.15,0.10,0.15,0.10,0.50,250",
                               kLocalCalc + "250,10,0.25,7.5,6,30,60,45,60,45,1,0"},
                      SentCase{"InternationalUnchanged", kInternational, "", nullptr,
                               kUkRate + "209,1.10,0.90,1.10,0.90,0,209",
                               kUkCalc + "209,0,0,7.5,6,30,60,60,60,60,0,0"},
                      SentCase{"InternationalEmptySurcharge", kInternational, "txtmarkup", "",
                               kUkRate + "209,1.10,0.90,1.10,0.90,,209",
                               kUkCalc + "209,0,0,7.5,6,30,60,60,60,60,0,0"},
                      SentCase{"InternationalTaxAndThreshold", kInternational, "txtptax", "9.25",
                               kUkRate + "209,1.10,0.90,1.10,0.90,0,209",
                               kUkCalc + "209,0,0,9.25,6,30,60,60,60,60,0,0"}));

// A stored initial cost the user does not touch goes back as stored, whatever its spelling; the
// number filter and the amount check are for what the user types.
class StoredCosts : public ModifyFormTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(StoredCosts, AnUntouchedStoredValueIsSentAsStored) {
    const QString stored = QString::fromLatin1(GetParam());
    for (const bool domestic : {true, false}) {
        SCOPED_TRACE(domestic ? "domestic" : "international");
        PriceLine line = domestic ? localLine() : ukLine();
        line.cells[2] = stored;
        std::unique_ptr<PriceModifyForm> f;
        if (domestic)
            f = std::make_unique<frmdomesticpricingmodify>(line);
        else
            f = std::make_unique<frminternationalpricingmodify>(line);
        EXPECT_EQ(f->txtoaic->text(), stored);
        f->show();
        f->cmdsave_Click();
        EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
        ASSERT_EQ(f->state(), State::Waiting);
        const QString rate =
            domestic ? kLocalRate + "250," + stored + ",0.10," + stored + ",0.10,0.50,250"
                     : kUkRate + "209," + stored + ",0.90," + stored + ",0.90,0,209";
        EXPECT_EQ(
            server.lines().value(server.lines().size() - 4).toStdString(),
            withExitStatus("echo '" + rate + "  ' > ." + f->exchange().requestName() + ".tmp")
                .toStdString());
        f->exchange().cancel();
    }
}

INSTANTIATE_TEST_SUITE_P(Spellings, StoredCosts, ::testing::Values(".15", "15.", "0.15 "));

TEST_F(ModifyFormTest, TheTwoLineAnswerFinishesWithTheReloadLine) {
    frminternationalpricingmodify f(ukLine());
    EXPECT_EQ(f.windowTitle(), "Modify International  Pricing");
    f.show();
    f.cmdsave_Click();
    answer(f, "1,Record modify OK\n2,Record modify OK\n");
    prompter.ok();
    f.tmrcheckdone_Timer();
    EXPECT_EQ(prompter.messages(), QStringList{"Data Modified"});
    const QStringList lines = server.linesOf(0);
    EXPECT_EQ(lines.mid(lines.size() - 2),
              (QStringList{withExitStatus("./do_csv.sh"), "echo \">>reload_LD"}));
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(tableFetches(), 13);  // once after the answer; the list pulls again itself
}

TEST_F(ModifyFormTest, TheFirstLineAloneIsAFailure) {
    for (const FormMaker& make : {kDomestic, kInternational}) {
        const auto f = make();
        f->show();
        f->cmdsave_Click();
        answer(*f, "1,Record modify OK\n");
        prompter.ok();
        f->tmrcheckdone_Timer();
        EXPECT_EQ(prompter.messages().last(), "1,Record modify OK\r\nRefeshing Data");
        EXPECT_FALSE(server.lines().contains("echo \">>reload_LD"));
        EXPECT_EQ(server.lines().last(), withExitStatus("./do_csv.sh"));
        EXPECT_FALSE(f->isVisible());
    }
}

struct AmountCase {
    const char* typed;
    const char* stands;    // what the box holds after the number filter
    const char* domestic;  // the domestic form's message, "" when it sends
    const char* international;
};
void PrintTo(const AmountCase& c, std::ostream* os) {
    *os << c.typed;
}

class HostileAmounts : public ModifyFormTest, public ::testing::WithParamInterface<AmountCase> {};

const char* const kNotANumber =
    "The Surcharge must be a number such as 12.50: digits, an optional sign and \".\" before the "
    "decimals.";

// Typed into the surcharge: only a number stands, and only a plain number is sent.
TEST_P(HostileAmounts, NeverReachTheShell) {
    const AmountCase& c = GetParam();
    for (const bool domestic : {true, false}) {
        SCOPED_TRACE(domestic ? "domestic" : "international");
        const auto f = domestic ? kDomestic() : kInternational();
        f->txtmarkup->clear();
        QTest::keyClicks(f->txtmarkup, QString::fromLatin1(c.typed));
        EXPECT_EQ(f->txtmarkup->text(), QString::fromLatin1(c.stands));
        f->show();
        const QString expected = QString::fromLatin1(domestic ? c.domestic : c.international);
        if (!expected.isEmpty()) prompter.ok();
        const size_t before = server.shellRequests().size();
        f->cmdsave_Click();
        if (expected.isEmpty()) {
            ASSERT_EQ(f->state(), State::Waiting);
            const QString record = f->recordsNow().first();
            EXPECT_FALSE(record.trimmed().contains(QRegularExpression("[$`\"'\\\\!;| ]")))
                << record.toStdString();
            EXPECT_EQ(record.count(','), 16);
            EXPECT_EQ(server.lines().value(server.lines().size() - 4),
                      withExitStatus("echo '" + record + "' > ." + f->exchange().requestName() +
                                     ".tmp"));
            f->exchange().cancel();
        } else {
            EXPECT_EQ(prompter.messages().last(), expected);
            EXPECT_EQ(server.shellRequests().size(), before);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Typed, HostileAmounts,
    ::testing::Values(AmountCase{"$(touch canary)", "", "You must enter a markup", ""},
                      AmountCase{"`touch canary`", "", "You must enter a markup", ""},
                      AmountCase{"!!", "", "You must enter a markup", ""},
                      AmountCase{"2\\n", "2", "", ""}, AmountCase{"1,5", "15", "", ""},
                      AmountCase{"0.75", "0.75", "", ""},
                      AmountCase{"1\"; touch canary", "1  ", kNotANumber, kNotANumber},
                      AmountCase{"12.5 ; touch", "12.5  ", kNotANumber, kNotANumber},
                      AmountCase{"1.", "1.", kNotANumber, kNotANumber}));

struct EmptyCase {
    const char* box;
    const char* message;
};
void PrintTo(const EmptyCase& c, std::ostream* os) {
    *os << c.box;
}

class EmptyBoxes : public ModifyFormTest, public ::testing::WithParamInterface<EmptyCase> {};

TEST_P(EmptyBoxes, StopTheDomesticSaveWithTheirMessage) {
    const EmptyCase& c = GetParam();
    frmdomesticpricingmodify f(localLine());
    control<QLineEdit>(f, c.box)->clear();
    f.show();
    prompter.ok();
    f.cmdsave_Click();
    EXPECT_EQ(prompter.messages(), QStringList{c.message});
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_FALSE(f.cmdsave->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Boxes, EmptyBoxes,
                         ::testing::Values(EmptyCase{"txtcatagory", "You must enter a Name"},
                                           EmptyCase{"txtoait", "You must enter a Time Period"},
                                           EmptyCase{"txtoaac", "You must enter a Cost"},
                                           EmptyCase{"txtpmkup", "You must enter a % markup"},
                                           EmptyCase{"txtfmkup", "You must enter a Fixed markup"},
                                           EmptyCase{"txtptax", "You must enter a Tax"},
                                           EmptyCase{"txtthres",
                                                     "You must enter a Thresh hold time"}));

TEST_F(ModifyFormTest, DifferingStoredHalvesAreToldBeforeSaving) {
    PriceLine line = localLine();
    line.rateFields[ratefield::Ddic] = "0.20";
    for (const bool save : {false, true}) {
        frmdomesticpricingmodify f(line);
        f.show();
        if (save)
            prompter.yes();
        else
            prompter.no();
        f.cmdsave_Click();
        EXPECT_TRUE(prompter.messages().last().contains(
            "Initial Cost: direct-dialled 0.20, operator-assisted 0.15"))
            << prompter.messages().last().toStdString();
        if (!save) {
            EXPECT_EQ(f.state(), State::Idle);
            EXPECT_TRUE(server.shellRequests().empty());
            EXPECT_FALSE(f.cmdsave->isHidden());
            continue;
        }
        ASSERT_EQ(f.state(), State::Waiting);
        // The stored direct-dialled cost goes as the old value, the shown one as the new.
        EXPECT_TRUE(server.linesOf(0).value(1).contains(
            "1,mod,rate,250,0.15,0.10,0.20,0.10,0.50,250,250,0.15,0.10,0.15,0.10,0.50,250  "));
        f.exchange().cancel();
    }
}

TEST_F(ModifyFormTest, CancelIsDisabledWhileSendingAndEnabledWhileWaiting) {
    frmdomesticpricingmodify f(localLine());
    f.show();
    EXPECT_EQ(f.Cmdclose->objectName(), "Cmdclose");
    EXPECT_TRUE(f.Cmdclose->isEnabled());
    QList<bool> enabledWhileSending;
    server.on(QRegularExpression("^echo ")).then([&](const QString&) {
        enabledWhileSending << f.cmdcancelwait->isEnabled();
        f.cmdcancelwait_Click();  // refused: the request goes out whole
    });
    f.cmdsave_Click();
    EXPECT_EQ(enabledWhileSending, (QList<bool>{false, false}));
    ASSERT_EQ(f.state(), State::Waiting);
    EXPECT_TRUE(f.Cmdclose->isHidden());
    EXPECT_TRUE(f.cmdcancelwait->isEnabled());
    EXPECT_FALSE(f.cmdcancelwait->isHidden());
    prompter.ok();
    QTest::mouseClick(f.cmdcancelwait, Qt::LeftButton);
    EXPECT_EQ(prompter.messages(),
              QStringList{cancelledWaitText("The request")});
    EXPECT_FALSE(f.isVisible());
}

TEST_F(ModifyFormTest, CancelBeforeSavingSendsNothing) {
    frmdomesticpricingmodify f(localLine());
    f.show();
    QTest::mouseClick(f.Cmdclose, Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_EQ(tableFetches(), 0);
}

}  // namespace
