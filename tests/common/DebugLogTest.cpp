#include "common/CommonFunctions.h"
#include "common/Globals.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

using namespace quillon;

namespace {

class DebugLogTest : public ::testing::Test {
protected:
    void SetUp() override { QDir().mkpath(home.file(QStringLiteral("Logs"))); }
    QString logPath() const { return home.file(QStringLiteral("Logs/Mainlog.log")); }
    QByteArray log() const { return home.read(QStringLiteral("Logs/Mainlog.log")); }

    testsupport::TempHome home;
};

TEST_F(DebugLogTest, TimeStampUsesEnglishMonthsAndA24HourClock) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const struct {
        QDateTime when;
        const char* text;
    } cases[] = {
        {QDateTime(QDate(2008, 12, 9), QTime(14, 5, 33)), "Dec-09-08 14:05:33"},
        {QDateTime(QDate(2010, 1, 1), QTime(3, 4, 5)), "Jan-01-10 03:04:05"},
        {QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59)), "Feb-29-24 23:59:59"},
        {QDateTime(QDate(2031, 8, 17), QTime(0, 0, 0)), "Aug-17-31 00:00:00"},
        {QDateTime(QDate(2025, 3, 10), QTime(12, 30, 0)), "Mar-10-25 12:30:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(LogTimeStamp(c.when), QLatin1String(c.text));
    QLocale::setDefault(saved);
}

TEST_F(DebugLogTest, OpenTruncatesAndEachLineIsTimeBlankMessageCrLf) {
    home.write(QStringLiteral("Logs/Mainlog.log"), "yesterday's lines\r\n");
    G().g_DebugMode = true;
    EXPECT_TRUE(OpenDebugLog(logPath()));
    EXPECT_EQ(G().g_LogPath, logPath());
    EXPECT_EQ(log(), "OPENED\r\n");

    const QDateTime before = QDateTime::currentDateTime();
    WriteDebugLog(QStringLiteral("tmrNowLoad_Timer fired"));
    WriteDebugLog(QStringLiteral(" About To Reconnect CALL Log"));
    const QDateTime after = QDateTime::currentDateTime();

    const QStringList lines = QString::fromLatin1(log()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4) << log().toStdString();  // the last CR LF leaves an empty tail
    EXPECT_EQ(lines[0], QStringLiteral("OPENED"));
    EXPECT_EQ(lines[3], QString());
    const QRegularExpression shape(
        QStringLiteral("^[A-Z][a-z]{2}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d "));
    const QStringList stamps{LogTimeStamp(before), LogTimeStamp(after)};
    const QStringList messages{"tmrNowLoad_Timer fired", " About To Reconnect CALL Log"};
    for (int i = 0; i < 2; ++i) {
        const QString& line = lines[i + 1];
        EXPECT_TRUE(shape.match(line).hasMatch()) << line.toStdString();
        EXPECT_TRUE(stamps.contains(line.left(18))) << line.toStdString();
        EXPECT_EQ(line.mid(19), messages[i]);
    }
}

TEST_F(DebugLogTest, MessageIsWrittenAsWindows1252) {
    G().g_DebugMode = true;
    OpenDebugLog(logPath());
    WriteDebugLog(QStringLiteral("Caf\u00e9 \u20ac \u4e2d"));
    EXPECT_TRUE(log().endsWith(QByteArray(" Caf\xe9 \x80 ?\r\n"))) << log().toStdString();
}

TEST_F(DebugLogTest, EachLineIsAppendedToWhatIsOnDiskNow) {
    // The log is not held open: a file removed between two lines starts again with the next.
    G().g_DebugMode = true;
    OpenDebugLog(logPath());
    QFile::remove(logPath());
    WriteDebugLog(QStringLiteral("after"));
    EXPECT_TRUE(log().endsWith(" after\r\n"));
    EXPECT_FALSE(log().contains("OPENED"));
}

TEST_F(DebugLogTest, SilentWhenDebugModeIsOff) {
    G().g_DebugMode = false;
    EXPECT_FALSE(OpenDebugLog(logPath()));
    WriteDebugLog(QStringLiteral("nothing"));
    EXPECT_FALSE(QFileInfo::exists(logPath()));

    home.write(QStringLiteral("Logs/Mainlog.log"), "kept\r\n");
    const QDateTime modified = QFileInfo(logPath()).lastModified();
    EXPECT_FALSE(OpenDebugLog(logPath()));
    WriteDebugLog(QStringLiteral("nothing"));
    EXPECT_EQ(log(), "kept\r\n");
    EXPECT_EQ(QFileInfo(logPath()).lastModified(), modified);
}

}  // namespace
