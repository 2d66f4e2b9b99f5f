// The request files of the summary reports as the server's shell leaves them, one table per
// window: each option and kind alone, the printer box ticked and not, a date range and an
// interval; where a line's blanks matter, the queued lines themselves.
#include "reports/summary/FAreacode.h"
#include "reports/summary/fAuditReport.h"
#include "reports/summary/fTrunk.h"
#include "reports/summary/fcrono.h"
#include "reports/summary/fstatsreport.h"

#include "SummaryTestSupport.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <memory>
#include <ostream>

using namespace quillon;
using summarytest::chooseInterval;
using summarytest::pick;

namespace {

using Choose = std::function<void(ReportWindow&)>;

struct GoldenCase {
    const char* name;
    Choose choose;
    QStringList file;
    const char* program;
    // The queued lines, where their blanks are the point; empty: not compared.
    QStringList lines = {};
};
void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

template <class W>
Choose as(std::function<void(W&)> choose) {
    return [choose](ReportWindow& w) { choose(dynamic_cast<W&>(w)); };
}

const QStringList kRange{"DS 120126", "DE 120926", "TS 0001", "TE 2359"};

// --- audit: no request file, the choices are the program's argument
const GoldenCase kAudit[] = {
    {"Defaults", as<fAuditReport>([](auto&) {}), {}, "./ORV_B3 1c"},
    {"DailyNoClearing",
     as<fAuditReport>([](auto& w) { w.chkclear->setChecked(false); }),
     {},
     "./ORV_B3 1"},
    {"Monthly",
     as<fAuditReport>([](auto& w) { w.Optaudit[1]->setChecked(true); }),
     {},
     "./ORV_B3 2c"},
    {"MonthlyNoClearing",
     as<fAuditReport>([](auto& w) {
         w.Optaudit[1]->setChecked(true);
         w.chkclear->setChecked(false);
     }),
     {},
     "./ORV_B3 2"},
};

// --- statistics
Choose stats(int kind, const char* value, std::function<void(fstatsreport&)> more = {}) {
    return as<fstatsreport>([=](fstatsreport& w) {
        w.cboReportType->setCurrentIndex(kind);
        w.txtValue->setText(QString::fromLatin1(value));
        if (more) more(w);
    });
}
const char* const kStatsProgram = "./ORV_B4 2 TESTPC_STATS.TMP";
const GoldenCase kStats[] = {
    {"TopByCost",
     stats(0, "10"),
     QStringList{"L lp"} + kRange + QStringList{"1 10", "S", "Z", "l-0000"},
     kStatsProgram,
     {"echo 'L lp' >TESTPC_STATS.TMP", "echo 'DS 120126'>>TESTPC_STATS.TMP",
      "echo 'DE 120926'>>TESTPC_STATS.TMP", "echo 'TS 0001'>>TESTPC_STATS.TMP",
      "echo 'TE 2359'>>TESTPC_STATS.TMP", "echo  '1 10' >>TESTPC_STATS.TMP",
      "echo 'S' >>TESTPC_STATS.TMP", "echo  'Z' >>TESTPC_STATS.TMP",
      "echo  'l-0000' >>TESTPC_STATS.TMP"}},
    {"CostingOver",
     stats(1, "25"),
     QStringList{"L lp"} + kRange + QStringList{"1 25", "Y", "S", "Z", "l-0000"},
     kStatsProgram,
     {"echo 'L lp' >TESTPC_STATS.TMP", "echo 'DS 120126'>>TESTPC_STATS.TMP",
      "echo 'DE 120926'>>TESTPC_STATS.TMP", "echo 'TS 0001'>>TESTPC_STATS.TMP",
      "echo 'TE 2359'>>TESTPC_STATS.TMP", "echo  '1 25' >>TESTPC_STATS.TMP",
      "echo  'Y' >>TESTPC_STATS.TMP", "echo 'S' >>TESTPC_STATS.TMP",
      "echo  'Z' >>TESTPC_STATS.TMP", "echo  'l-0000' >>TESTPC_STATS.TMP"}},
    {"TopByDuration", stats(2, "30"),
     QStringList{"L lp"} + kRange + QStringList{"2 30", "S", "Z", "l-0000"}, kStatsProgram},
    {"DurationOver", stats(3, "30"),
     QStringList{"L lp"} + kRange + QStringList{"2 30", "Y", "S", "Z", "l-0000"}, kStatsProgram},
    {"TopByFrequency", stats(4, "5"),
     QStringList{"L lp"} + kRange + QStringList{"3 5", "S", "Z", "l-0000"}, kStatsProgram},
    // The prompts' 5 to 500 is the program's matter.
    {"ValueOutsideThePromptsRange", stats(0, "999"),
     QStringList{"L lp"} + kRange + QStringList{"1 999", "S", "Z", "l-0000"}, kStatsProgram},
    {"PrinterTicked", stats(0, "10", [](fstatsreport& w) { w.chksendprinter->setChecked(true); }),
     QStringList{"L lp"} + kRange + QStringList{"1 10", "S", "l-0000"}, kStatsProgram},
    {"IntervalAndOneLineType",
     stats(0, "10",
           [](fstatsreport& w) {
               chooseInterval(w, "5");
               w.cboDivision->setCurrentIndex(w.cboDivision->findText("0003 Guest Room"));
           }),
     {"L lp", "I 5", "1 10", "S", "Z", "l-0003"},
     kStatsProgram,
     {"echo 'L lp' >TESTPC_STATS.TMP", "echo  'I 5' >>TESTPC_STATS.TMP",
      "echo  '1 10' >>TESTPC_STATS.TMP", "echo 'S' >>TESTPC_STATS.TMP",
      "echo  'Z' >>TESTPC_STATS.TMP", "echo  'l-0003' >>TESTPC_STATS.TMP"}},
};

// --- chronological
const char* const kCronoProgram = "./ORV_BD 2 TESTPC_CRONO.TMP";
const GoldenCase kCrono[] = {
    {"Range",
     as<fcrono>([](auto&) {}),
     {"L lp", "S", "Z", "DS 120126", "DE 120926"},
     kCronoProgram,
     {"echo 'L lp' >TESTPC_CRONO.TMP", "echo 'S' >>TESTPC_CRONO.TMP",
      "echo  'Z' >>TESTPC_CRONO.TMP", "echo 'DS 120126'>>TESTPC_CRONO.TMP",
      "echo 'DE 120926'>>TESTPC_CRONO.TMP"}},
    {"PrinterTicked",
     as<fcrono>([](auto& w) { w.chksendprinter->setChecked(true); }),
     {"L lp", "S", "DS 120126", "DE 120926"},
     kCronoProgram},
    {"EndBeforeStart",
     as<fcrono>([](auto& w) { w.enddate->setDate(QDate(2026, 11, 30)); }),
     {"L lp", "S", "Z", "DS 120126", "DE 113026"},
     kCronoProgram},
    {"Interval",
     as<fcrono>([](auto& w) { chooseInterval(w, "24"); }),
     {"L lp", "S", "Z", "I 24"},
     kCronoProgram,
     {"echo 'L lp' >TESTPC_CRONO.TMP", "echo 'S' >>TESTPC_CRONO.TMP",
      "echo  'Z' >>TESTPC_CRONO.TMP", "echo  'I 24' >>TESTPC_CRONO.TMP"}},
};

// --- trunk
Choose trunk(int kind, QStringList groups, std::function<void(fTrunk&)> more = {}) {
    return as<fTrunk>([=](fTrunk& w) {
        w.Optreporttype[kind]->setChecked(true);
        pick(*w.lists, groups);
        if (more) more(w);
    });
}
const char* const kTrunkProgram = "./ORV_B2 2 TESTPC_TRUNK.TMP";
const GoldenCase kTrunk[] = {
    {"GroupSummary", trunk(0, {"0012 South", "0005 North A"}),
     QStringList{"L lp", "S", "Z", "1 0005", "1 0012", "RT 1"} + kRange, kTrunkProgram},
    // The example of the request format: kind 1, hour 2, two groups, an interval of 30.
    {"DetailByTrunkNumberHourly",
     trunk(1, {"0010 Hotel", "0003 Toll Free"},
           [](fTrunk& w) {
               w.Combotime->setCurrentIndex(w.Combotime->findText("2"));
               chooseInterval(w, "30");
           }),
     {"L lp", "S", "Z", "H 2", "4 0003", "4 0010", "RT 4", "I 30"},
     kTrunkProgram,
     {"echo 'L lp' >TESTPC_TRUNK.TMP", "echo 'S' >>TESTPC_TRUNK.TMP",
      "echo  'Z' >>TESTPC_TRUNK.TMP", "echo 'H 2'>>TESTPC_TRUNK.TMP",
      "echo  '4 0003' >>TESTPC_TRUNK.TMP", "echo  '4 0010' >>TESTPC_TRUNK.TMP",
      "echo  'RT 4' >>TESTPC_TRUNK.TMP", "echo  'I 30' >>TESTPC_TRUNK.TMP"}},
    {"DetailByTrunkGroupHourAsLoaded", trunk(2, {"0005 North A"}),
     QStringList{"L lp", "S", "Z", "H 1", "3 0005", "RT 3"} + kRange, kTrunkProgram},
    // The hour box is greyed for kinds 0 and 3: whatever it shows, no H line.
    {"NumberSummaryNeverHourly",
     trunk(3, {"0005 North A"}, [](fTrunk& w) { w.Combotime->setCurrentIndex(4); }),
     QStringList{"L lp", "S", "Z", "2 0005", "RT 2"} + kRange, kTrunkProgram},
    {"PrinterTickedEveryGroup",
     trunk(0, {},
           [](fTrunk& w) {
               w.chksendprinter->setChecked(true);
               w.chkall->setChecked(true);
           }),
     QStringList{"L lp", "S", "1 0003", "1 0005", "1 0010", "1 0012", "RT 1"} + kRange,
     kTrunkProgram},
};

// --- area code
Choose area(QStringList codes, QStringList groups, std::function<void(FAreacode&)> more = {}) {
    return as<FAreacode>([=](FAreacode& w) {
        for (const QString& c : codes) {
            w.txtarea->setText(c);
            w.cmdadd1->click();
        }
        pick(*w.lists, groups);
        if (more) more(w);
    });
}
const char* const kAreaProgram = "./ORV_B9 2 TESTPC_AREA.TMP";
const GoldenCase kArea[] = {
    // The example of the request format.
    {"TwoCodesOneGroupPrinterTicked",
     area({"212", "718"}, {"0005 North A"},
          [](FAreacode& w) { w.chksendprinter->setChecked(true); }),
     QStringList{"L lp", "S", "A 212", "A 718", "G 0005"} + kRange,
     kAreaProgram,
     {"echo 'L lp' >TESTPC_AREA.TMP", "echo 'S' >>TESTPC_AREA.TMP",
      "echo  'A 212' >>TESTPC_AREA.TMP", "echo  'A 718' >>TESTPC_AREA.TMP",
      "echo  'G 0005' >>TESTPC_AREA.TMP", "echo 'DS 120126'>>TESTPC_AREA.TMP",
      "echo 'DE 120926'>>TESTPC_AREA.TMP", "echo 'TS 0001'>>TESTPC_AREA.TMP",
      "echo 'TE 2359'>>TESTPC_AREA.TMP"}},
    {"NoCodesTwoGroups", area({}, {"0012 South", "0003 Toll Free"}),
     QStringList{"L lp", "S", "Z", "G 0003", "G 0012"} + kRange, kAreaProgram},
    {"SortByTrunkNumber",
     area({"212"}, {"0005 North A"}, [](FAreacode& w) { w.Optsort[1]->setChecked(true); }),
     QStringList{"L lp", "S", "A 212", "Z", "G 0005"} + kRange + QStringList{"R"},
     kAreaProgram,
     {"echo 'L lp' >TESTPC_AREA.TMP", "echo 'S' >>TESTPC_AREA.TMP",
      "echo  'A 212' >>TESTPC_AREA.TMP", "echo  'Z' >>TESTPC_AREA.TMP",
      "echo  'G 0005' >>TESTPC_AREA.TMP", "echo 'DS 120126'>>TESTPC_AREA.TMP",
      "echo 'DE 120926'>>TESTPC_AREA.TMP", "echo 'TS 0001'>>TESTPC_AREA.TMP",
      "echo 'TE 2359'>>TESTPC_AREA.TMP", "echo  'R'  >>TESTPC_AREA.TMP"}},
    {"IntervalThenSortLine",
     area({"212"}, {"0005 North A"},
          [](FAreacode& w) {
              w.Optsort[1]->setChecked(true);
              chooseInterval(w, "30");
          }),
     {"L lp", "S", "A 212", "Z", "G 0005", "I 30", "R"},
     kAreaProgram},
    // The same code twice and short codes are kept, in the order typed.
    {"RepeatedAndShortCodes", area({"718", "7", "718", "21"}, {"0005 North A"}),
     QStringList{"L lp", "S", "A 718", "A 7", "A 718", "A 21", "Z", "G 0005"} + kRange,
     kAreaProgram},
    {"AllAreaCodes",
     area({"212"}, {"0005 North A"}, [](FAreacode& w) { w.chkallarea->setChecked(true); }),
     QStringList{"L lp", "S", "Z", "G 0005"} + kRange, kAreaProgram},
};

class SummaryGolden : public ::testing::TestWithParam<GoldenCase> {
protected:
    void SetUp() override { summarytest::writeTables(home); }

    std::unique_ptr<ReportWindow> open() const {
        const std::string suite =
            ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
        if (suite.starts_with("Audit")) return std::make_unique<fAuditReport>();
        if (suite.starts_with("Stats")) return std::make_unique<fstatsreport>();
        if (suite.starts_with("Crono")) return std::make_unique<fcrono>();
        if (suite.starts_with("Trunk")) return std::make_unique<fTrunk>();
        return std::make_unique<FAreacode>();
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    testsupport::FakeReportHost host;
};

TEST_P(SummaryGolden, WritesTheRequestFile) {
    const GoldenCase& c = GetParam();
    std::unique_ptr<ReportWindow> w = open();
    if (w->startdate) summarytest::pickDecember(*w);
    c.choose(*w);
    const ReportRequest request = w->buildRequest();
    if (w->kind().hasRequestFile())
        EXPECT_EQ(testsupport::runLocally(request.lines(), request.paramFileName()), c.file);
    else
        EXPECT_TRUE(request.lines().isEmpty());
    if (!c.lines.isEmpty()) EXPECT_EQ(request.lines(), c.lines);
    EXPECT_EQ(w->programLine(request), c.program);
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
}

const auto kName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Audit, SummaryGolden, ::testing::ValuesIn(kAudit), kName);
INSTANTIATE_TEST_SUITE_P(Stats, SummaryGolden, ::testing::ValuesIn(kStats), kName);
INSTANTIATE_TEST_SUITE_P(Crono, SummaryGolden, ::testing::ValuesIn(kCrono), kName);
INSTANTIATE_TEST_SUITE_P(Trunk, SummaryGolden, ::testing::ValuesIn(kTrunk), kName);
INSTANTIATE_TEST_SUITE_P(Area, SummaryGolden, ::testing::ValuesIn(kArea), kName);

}  // namespace
