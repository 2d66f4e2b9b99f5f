#include "reports/common/ReportRun.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

using quillon::ReportRun;
using quillon::ReportRunResult;

namespace {

TEST(ReportRunTest, DeadlineOfTheReportLine) {
    testsupport::TempHome home;
    EXPECT_EQ(ReportRun::reportDeadlineSec(), 30 * 60);
    const std::pair<const char*, int> configured[] = {
        {"90", 90}, {"0", 1800}, {"-5", 1800}, {"soon", 1800}, {"", 1800}};
    for (const auto& [value, seconds] : configured) {
        home.write("KTReports.ini", QByteArray("[Sites]\r\nReportTimeout=") + value + "\r\n");
        EXPECT_EQ(ReportRun::reportDeadlineSec(), seconds) << value;
    }
    ReportRun::setReportDeadlineSec(3);
    EXPECT_EQ(ReportRun::reportDeadlineSec(), 3);
    ReportRun::setReportDeadlineSec(0);
    EXPECT_EQ(ReportRun::reportDeadlineSec(), 1800);
}

// Nothing to run, or a report name the shell could misread: no session is opened.
TEST(ReportRunTest, RefusesBeforeConnecting) {
    testsupport::TempHome home;
    QStringList empty;
    EXPECT_EQ(ReportRun::run(empty, "PC_DETAIL.rep", 1, false).outcome,
              ReportRunResult::Outcome::Refused);
    for (const char* name : {"", "a b.rep", "x;rm.rep", "-rf.rep", "../up.rep"}) {
        QStringList queue{"echo 'L lp' >x"};
        const ReportRunResult r = ReportRun::run(queue, name, 1, false);
        EXPECT_EQ(r.outcome, ReportRunResult::Outcome::Refused) << name;
        EXPECT_EQ(queue.size(), 1) << name;
    }
}

}  // namespace
