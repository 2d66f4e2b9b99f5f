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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        const QString request = ReportRequest::paramFileName("PC1", *c.kind);
        EXPECT_EQ(request, c.request);
        EXPECT_EQ(ReportRequest::reportFileName("PC1", *c.kind), c.report);
        EXPECT_EQ(ReportRequest(request).runCommand(*c.kind), c.command);
        EXPECT_EQ(c.kind->reportNumber, c.number);
    }
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
