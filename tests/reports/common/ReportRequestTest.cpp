#include "reports/common/ReportRequest.h"

#include "support/LocalShell.h"

#include <gtest/gtest.h>

using quillon::ReportRequest;
namespace kinds = quillon::reportkinds;

namespace {

const QString F = QStringLiteral("TESTPC_DETAIL.TMP");

// The spacing of every kind of line is part of the queued text, so it is pinned byte for byte.
TEST(ReportRequestTest, QueuesEachKindOfLineWithItsOwnSpacing) {
    ReportRequest r(F);
    r.addHeader();
    r.addOption("O");
    r.addItem("5", "0012");
    r.addItem("2 ", "12");
    r.addPhoneNumber("123");
    r.addAllCalls();
    r.addDateRange(QDate(2026, 12, 9), QDate(2026, 12, 31), QTime(0, 1), QTime(23, 59));
    r.addInterval("7");
    const QStringList expected{
        "echo 'L lp' >TESTPC_DETAIL.TMP",      "echo 'S' >>TESTPC_DETAIL.TMP",
        "echo  'O' >>TESTPC_DETAIL.TMP",       "echo  '5 0012' >>TESTPC_DETAIL.TMP",
        "echo  '2  12' >>TESTPC_DETAIL.TMP",   "echo  'PH-123' >>TESTPC_DETAIL.TMP",
        "echo 'A' >>TESTPC_DETAIL.TMP",        "echo 'DS 120926'>>TESTPC_DETAIL.TMP",
        "echo 'DE 123126'>>TESTPC_DETAIL.TMP", "echo 'TS 0001'>>TESTPC_DETAIL.TMP",
        "echo 'TE 2359'>>TESTPC_DETAIL.TMP",   "echo  'I 7' >>TESTPC_DETAIL.TMP"};
    EXPECT_EQ(r.lines(), expected);
    EXPECT_EQ(r.runCommand(kinds::detail), "./ORV_B1 2 TESTPC_DETAIL.TMP");
}

// Lines of other shapes, as the summary reports and the calculator write them: the blanks on
// either side of the quoted text are part of each line.
TEST(ReportRequestTest, EchoLinesOfEveryShapeByteForByte) {
    struct Case {
        const char* text;
        quillon::EchoShape shape;
        const char* line;
    };
    const Case cases[] = {
        {"L lp", {1, 1, true}, "echo 'L lp' >F.TMP"},
        {"S", {1, 1, false}, "echo 'S' >>F.TMP"},
        {"Z", {2, 1, false}, "echo  'Z' >>F.TMP"},
        {"H 2", {1, 0, false}, "echo 'H 2'>>F.TMP"},
        {"R", {2, 2, false}, "echo  'R'  >>F.TMP"},
        {"617,555,5,0002", {1, 0, true}, "echo '617,555,5,0002'>F.TMP"},
        {"l-0000", {}, "echo 'l-0000' >>F.TMP"},
        {"A O'Hare", {2, 1, false}, "echo  'A O'\\''Hare' >>F.TMP"},
    };
    for (const Case& c : cases) {
        ReportRequest r("F.TMP");
        r.addEcho(c.text, c.shape);
        EXPECT_EQ(r.lines(), QStringList{c.line}) << c.text;
    }
    // Whatever the shape, the file holds the text as given.
    ReportRequest r("F.TMP");
    r.addEcho("L lp", {1, 1, true});
    r.addEcho("R", {2, 2, false});
    r.addEcho("A O'Hare; rm x", {2, 0, false});
    EXPECT_EQ(testsupport::runLocally(r.lines(), "F.TMP"),
              (QStringList{"L lp", "R", "A O'Hare; rm x"}));
}

// Dates alone, without the time lines, for a window without time pickers.
TEST(ReportRequestTest, DatesWithoutTimes) {
    ReportRequest r(F);
    r.addDates(QDate(2026, 12, 1), QDate(2026, 12, 9));
    EXPECT_EQ(r.lines(), (QStringList{"echo 'DS 120126'>>TESTPC_DETAIL.TMP",
                                      "echo 'DE 120926'>>TESTPC_DETAIL.TMP"}));
}

TEST(ReportRequestTest, FileAndCommandNamesOfEachWindow) {
    struct Case {
        const quillon::ReportKind* kind;
        const char* request;
        const char* report;
        const char* command;
        int number;
    };
    const Case cases[] = {
        {&kinds::detail, "PC1_DETAIL.TMP", "PC1_DETAIL.rep", "./ORV_B1 2 PC1_DETAIL.TMP", 2},
        {&kinds::cost, "PC1_COST.TMP", "PC1_COST.rep", "./ORV_B6 2 PC1_COST.TMP", 4},
        {&kinds::watchdog, "PC1_WDOG.TMP", "PC1_WDOG.rep", "./ORV_B5 2 PC1_WDOG.TMP", 6},
        {&kinds::auth, "PC1_AUTH.TMP", "PC1_AUTH.rep", "./ORV_B8 2 PC1_AUTH.TMP", 14},
        {&kinds::unused, "PC1_UNUSED.TMP", "PC1_UNUSED.rep", "./ORV_B6N 2 PC1_UNUSED.TMP", 16},
        {&kinds::stats, "PC1_STATS.TMP", "PC1_STATS.rep", "./ORV_B4 2 PC1_STATS.TMP", 5},
        {&kinds::crono, "PC1_CRONO.TMP", "PC1_CRONO.rep", "./ORV_BD 2 PC1_CRONO.TMP", 7},
        {&kinds::trunk, "PC1_TRUNK.TMP", "PC1_TRUNK.rep", "./ORV_B2 2 PC1_TRUNK.TMP", 8},
        {&kinds::area, "PC1_AREA.TMP", "PC1_AREA.rep", "./ORV_B9 2 PC1_AREA.TMP", 9},
        {&kinds::callCost, "PC1_CCAL.TMP", "PC1_CCAL.rep", "./ORV_CCAL 0 PC1_CCAL.TMP", 0},
        // No request file: the program takes the window's code alone.
        {&kinds::audit, "", "sum.rep", "./ORV_B3", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        const QString request = ReportRequest::paramFileName("PC1", *c.kind);
        EXPECT_EQ(request, c.request);
        EXPECT_EQ(ReportRequest::reportFileName("PC1", *c.kind), c.report);
        EXPECT_EQ(ReportRequest(request).runCommand(*c.kind), c.command);
        EXPECT_EQ(c.kind->reportNumber, c.number);
    }
    const ReportRequest audit(ReportRequest::paramFileName("PC1", kinds::audit));
    EXPECT_EQ(audit.runCommand(kinds::audit, "1c"), "./ORV_B3 1c");
    EXPECT_EQ(ReportRequest(F).runCommand(kinds::detail, "3"), "./ORV_B1 3 TESTPC_DETAIL.TMP");
}

// Keys come from the server's tables and numbers from the configuration: whatever they hold
// lands in the file as it is, and the shell runs none of it.
TEST(ReportRequestTest, HostileKeysLandLiterallyAndRunNothing) {
    const QStringList keys{
        "O'Brien", "'; touch pwned; echo '", "$(touch pwned2)", "`touch x`", "a\\nb", "-e", "*"};
    ReportRequest r(F);
    r.addHeader();
    for (const QString& k : keys) r.addItem("5", k);
    QStringList files;
    const QStringList lines = testsupport::runLocally(r.lines(), F, &files);
    QStringList expected{"L lp", "S"};
    for (const QString& k : keys) expected << "5 " + k;
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(files, QStringList{F});
}

}  // namespace
