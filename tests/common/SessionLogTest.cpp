#include "common/SessionLog.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "platform/SystemInfo.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>

using quillon::G;

namespace {

struct LogCase {
    const char* what;
    const char* report;
    QStringList logged;  // messages after the time stamp
};
void PrintTo(const LogCase& c, std::ostream* os) {
    *os << c.what;
}

class SessionLog : public ::testing::TestWithParam<LogCase> {};

TEST_P(SessionLog, WritesOneLogLinePerLineOfText) {
    const LogCase& c = GetParam();
    testsupport::TempHome home;
    G().g_DebugMode = true;
    QDir().mkpath(home.file("Logs"));
    ASSERT_TRUE(quillon::OpenDebugLog(home.file("Logs/Mainlog.log")));
    const QByteArray before = home.read("Logs/Mainlog.log");

    quillon::sessionDebugLog("wodSSHDOCSV")(QString::fromUtf8(c.report));

    // Every line of the log keeps its time stamp: nothing breaks a line in the middle.
    const QStringList lines =
        QString::fromLatin1(home.read("Logs/Mainlog.log").mid(before.size())).split("\r\n");
    QStringList messages;
    for (const QString& line : lines.mid(0, lines.size() - 1)) {
        EXPECT_FALSE(line.contains('\n') || line.contains('\r')) << line.toStdString();
        messages << line.mid(19);  // "Dec-09-08 14:05:33 "
    }
    EXPECT_EQ(lines.last(), QString()) << "the log ends with CR LF";
    EXPECT_EQ(messages, c.logged);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SessionLog,
    ::testing::Values(LogCase{"a line sent", "cd '/usr/varnel'", {"wodSSHDOCSV cd '/usr/varnel'"}},
                      LogCase{"an empty reply", "", {}},
                      LogCase{"a reply of blanks and line ends", "  \n\r\n", {}},
                      LogCase{"a reply of several lines",
                              "ext.csv written\n\nline.csv written\r\ndone\n",
                              {"wodSSHDOCSV ext.csv written", "wodSSHDOCSV line.csv written",
                               "wodSSHDOCSV done"}},
                      // A user file's digest is as good as its password: never logged.
                      LogCase{"a user file written",
                              "echo E52D98C459819A11775936D8DFBB7929 >.ALICE.USE.tmp; echo "
                              "\"rc=$?\"",
                              {"wodSSHDOCSV echo ******** >.ALICE.USE.tmp; echo \"rc=$?\""}},
                      LogCase{"a quoted digest in a time-out",
                              "No answer from the server within 60 seconds to: echo "
                              "'e52d98c459819a11775936d8dfbb7929' >'.AL ICE.USE.tmp'",
                              {"wodSSHDOCSV No answer from the server within 60 seconds to: "
                               "echo '********' >'.AL ICE.USE.tmp'"}}),
    [](const auto& info) { return std::to_string(info.index); });

}  // namespace
