// The request files the windows write, as the server's shell leaves them: one case per line
// type, option set and date part of each window.
#include "reports/selection/fAuth.h"
#include "reports/selection/fDetailReport.h"
#include "reports/selection/fWatchdog.h"
#include "reports/selection/fcost.h"
#include "reports/selection/funusedstations.h"

#include "SelectionTestSupport.h"
#include "support/Controls.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <memory>
#include <ostream>

using namespace quillon;
using testsupport::control;

namespace {

using Choose = std::function<void(ReportWindow&)>;

struct GoldenCase {
    const char* name;
    std::function<std::unique_ptr<ReportWindow>()> open;
    Choose choose;
    QStringList file;  // "today" stands for today's date
    const char* runCommand;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

template <class W>
constexpr auto make = selectiontest::opener<ReportWindow, W>;

SelectionReportWindow& sel(ReportWindow& w) {
    return dynamic_cast<SelectionReportWindow&>(w);
}

// Moves the entries shown with these texts into the selection, in this order.
Choose pick(QStringList texts) {
    return [texts](ReportWindow& w) { selectiontest::selectShown(sel(w), texts); };
}

Choose tick(QStringList names, bool on = true) {
    return [names, on](ReportWindow& w) {
        for (const QString& n : names) {
            auto* box = control<QCheckBox>(w, n);
            box->setChecked(on);
        }
    };
}

Choose option(const QString& name) {
    return [name](ReportWindow& w) {
        auto* r = control<QRadioButton>(w, name);
        r->setChecked(true);
    };
}

Choose interval(const QString& text) {
    return [text](ReportWindow& w) {
        w.Optdate[2]->setChecked(true);
        w.txtinterval->setText(text);
    };
}

Choose onDecember9(Choose then = {}) {
    return [then](ReportWindow& w) {
        w.startdate->setDate(QDate(2026, 12, 9));
        w.enddate->setDate(QDate(2026, 12, 9));
        if (then) then(w);
    };
}

Choose numbers(QStringList typed) {
    return [typed](ReportWindow& w) {
        auto& wd = dynamic_cast<fWatchdog&>(w);
        for (const QString& n : typed) {
            wd.txtitem->setText(n);
            wd.cmdadd_Click();
        }
    };
}

Choose all(std::initializer_list<Choose> steps) {
    const std::vector<Choose> list(steps);
    return [list](ReportWindow& w) {
        for (const Choose& c : list) c(w);
    };
}

const QStringList kDec9{"DS 120926", "DE 120926", "TS 0001", "TE 2359"};
const QStringList kToday{"DS today", "DE today", "TS 0001", "TE 2359"};

const GoldenCase kCases[] = {
    {"DetailDefaultsTwoExtensions", make<fDetailReport>,
     onDecember9(pick({"0014 Bar", "0012 Front Desk"})),
     QStringList{"L lp", "S", "O", "A", "Z", "V", "5 0012", "5 0014"} + kDec9,
     "./ORV_B1 2 TESTPC_DETAIL.TMP"},
    {"DetailNotPostingHasNoDateLines",
     make<fDetailReport>,
     all({pick({"0012 Front Desk"}), tick({"chkpostcalls"}, false)}),
     {"L lp", "S", "Z", "V", "5 0012"},
     "./ORV_B1 2 TESTPC_DETAIL.TMP"},
    {"DetailIntervalKeepsShowPostedOption",
     make<fDetailReport>,
     all({pick({"0012 Front Desk"}), interval("7")}),
     {"L lp", "S", "O", "A", "Z", "V", "5 0012", "I 7"},
     "./ORV_B1 2 TESTPC_DETAIL.TMP"},
    {"DetailAllCalls",
     make<fDetailReport>,
     all({pick({"0012 Front Desk"}), option("Optdate_0")}),
     {"L lp", "S", "O", "A", "Z", "V", "5 0012", "A"},
     "./ORV_B1 2 TESTPC_DETAIL.TMP"},
    {"DetailEveryOptionTicked",
     make<fDetailReport>,
     all({pick({"0012 Front Desk"}), option("Optdate_0"),
          tick({"chklocalpeg", "chklongdistancepeg", "chkcompactver", "chkallpeg", "chkpagebreak",
                "chkincomingpeg", "chk900peg", "chk800peg", "chksendprinter"})}),
     {"L lp", "S", "O", "A", "G8", "G9", "GI", "K", "GA", "GL", "GC", "5 0012", "A"},
     "./ORV_B1 2 TESTPC_DETAIL.TMP"},
    {"DetailKeysAsShown", make<fDetailReport>, onDecember9(pick({"12345 Suite", "0007 Lobby"})),
     QStringList{"L lp", "S", "O", "A", "Z", "V", "5 0007", "5 12345"} + kDec9,
     "./ORV_B1 2 TESTPC_DETAIL.TMP"},
    {"DetailLineType", make<fDetailReport>,
     onDecember9(all({option("Optreporttype_0"), pick({"0003 Guest Room"})})),
     QStringList{"L lp", "S", "O", "A", "Z", "V", "2 0003"} + kDec9,
     "./ORV_B1 2 TESTPC_DETAIL.TMP"},
    {"DetailDivision", make<fDetailReport>,
     onDecember9(all({option("Optreporttype_3"), pick({"0001 Rooms"})})),
     QStringList{"L lp", "S", "O", "A", "Z", "V", "3 0001"} + kDec9,
     "./ORV_B1 2 TESTPC_DETAIL.TMP"},
    {"CostTwoDivisions", make<fcost>, onDecember9(pick({"0003 Operations", "0001 Rooms"})),
     QStringList{"L lp", "S", "Z", "V", "2 0001", "2 0003"} + kDec9, "./ORV_B6 2 TESTPC_COST.TMP"},
    {"CostAllExt", make<fcost>, all({option("Optreporttype_1"), tick({"chkext"})}),
     QStringList{"L lp", "S", "Z", "V", "4 0"} + kToday, "./ORV_B6 2 TESTPC_COST.TMP"},
    {"CostBothOptionsTicked",
     make<fcost>,
     all({tick({"chkcompactver", "chksendprinter"}), option("Optreporttype_2"),
          pick({"0100 Front Office"}), interval("3")}),
     {"L lp", "S", "3 0100", "I 3"},
     "./ORV_B6 2 TESTPC_COST.TMP"},
    {"CostAllCalls",
     make<fcost>,
     all({pick({"0001 Rooms"}), option("Optdate_0")}),
     {"L lp", "S", "Z", "V", "2 0001", "A"},
     "./ORV_B6 2 TESTPC_COST.TMP"},
    {"UnusedAlwaysZAndV", make<funusedstations>, onDecember9(pick({"0001 Rooms"})),
     QStringList{"L lp", "S", "Z", "V", "2 0001"} + kDec9, "./ORV_B6N 2 TESTPC_UNUSED.TMP"},
    {"WatchdogTwoNumbers", make<fWatchdog>, numbers({"123", "456"}),
     QStringList{"L lp", "S", "Z", "PH-123", "PH-456"} + kToday, "./ORV_B5 2 TESTPC_WDOG.TMP"},
    {"WatchdogPrinterAndInterval",
     make<fWatchdog>,
     all({numbers({"123"}), tick({"chksendprinter"}), interval("30")}),
     {"L lp", "S", "PH-123", "I 30"},
     "./ORV_B5 2 TESTPC_WDOG.TMP"},
    {"AuthCodesInTextOrder",
     make<fAuth>,
     pick({"0012 Marketing", "0007 Legal"}),
     {"L lp", "S", "O", "Z", "V", "2  12", "2  7", "DS today", "DE today", "TS 0001", "TE 1404",
      "N 1"},
     "./ORV_B8 2 TESTPC_AUTH.TMP"},
    {"AuthBothKindsAfterInterval",
     make<fAuth>,
     all({pick({"0007 Legal"}), option("optauthtype_2"), interval("7")}),
     {"L lp", "S", "O", "Z", "V", "2  7", "I 7", "N 3"},
     "./ORV_B8 2 TESTPC_AUTH.TMP"},
    {"AuthNotPostingStillDated",
     make<fAuth>,
     all({pick({"0007 Legal"}), tick({"chkpostcalls"}, false), option("optauthtype_1")}),
     {"L lp", "S", "Z", "V", "2  7", "DS today", "DE today", "TS 0001", "TE 1404", "N 2"},
     "./ORV_B8 2 TESTPC_AUTH.TMP"},
    {"AuthEveryCodeOfTheTable",
     make<fAuth>,
     all({tick({"chkline"}), interval("1")}),
     {"L lp", "S", "O", "Z", "V", "2  12", "2  7", "2  PH-9", "I 1", "N 1"},
     "./ORV_B8 2 TESTPC_AUTH.TMP"},
    {"AuthExtensions",
     make<fAuth>,
     all({option("Optreporttype_1"), pick({"0012 Front Desk"}), interval("2")}),
     {"L lp", "S", "O", "Z", "V", "5 12", "I 2", "N 1"},
     "./ORV_B8 2 TESTPC_AUTH.TMP"},
};

class RequestGoldenTest : public ::testing::TestWithParam<GoldenCase> {
protected:
    void SetUp() override {
        selectiontest::writeTables(home);
        // One saved watch-dog number, so the window opens without a message.
        home.write("KTReports.ini", "[Site2]\r\nNumWDogEntries=1\r\nwdognum0=555\r\n");
    }
    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    selectiontest::FakeHost host;
};

TEST_P(RequestGoldenTest, WritesTheRequestFile) {
    const GoldenCase& c = GetParam();
    std::unique_ptr<ReportWindow> w = c.open();
    c.choose(*w);
    const ReportRequest request = w->buildRequest();
    QStringList expected;
    for (const QString& line : c.file) {
        QString l = line;
        expected << l.replace(QStringLiteral("today"), selectiontest::today());
    }
    EXPECT_EQ(selectiontest::runLocally(request.lines(), request.paramFileName()), expected);
    EXPECT_EQ(request.runCommand(w->kind()), c.runCommand);
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Windows, RequestGoldenTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
