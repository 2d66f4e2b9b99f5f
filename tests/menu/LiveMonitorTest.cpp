#include "menu/LiveMonitor.h"

#include "common/Globals.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QStringList>

#include <ostream>

using quillon::G;
using quillon::LiveMonitor;

namespace {

void configureSite(int site) {
    G().g_CurSite = site;
    G().g_SiteHomedir[site] = QStringLiteral("/usr/varnel");
    G().g_SiteTailPbxFile[site] = QStringLiteral("COLL.LOG");
    G().g_SiteTailPmsFile[site] = QStringLiteral("pms_trn");
}

struct ChunkCase {
    const char* name;
    LiveMonitor::Kind kind;
    bool brevia;
    const char* startState;
    QStringList chunks;
    QString shown;  // every shown piece, joined
    const char* endState;
    QString endBuffer;
};

void PrintTo(const ChunkCase& c, std::ostream* os) {
    *os << c.name;
}

class LiveMonitorChunks : public ::testing::TestWithParam<ChunkCase> {
protected:
    testsupport::TempHome home;
};

TEST_P(LiveMonitorChunks, ShowsWhatFollowsTheEcho) {
    const ChunkCase& c = GetParam();
    configureSite(2);
    G().g_Brevia = c.brevia;
    LiveMonitor monitor(c.kind);
    monitor.state() = QString::fromLatin1(c.startState);

    QString shown;
    for (const QString& chunk : c.chunks)
        if (const auto piece = monitor.receive(chunk)) shown += *piece;

    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(monitor.state(), QString::fromLatin1(c.endState));
    EXPECT_EQ(monitor.buffer(), c.endBuffer);
}

const QString kBanner = QStringLiteral("Welcome\r\n$ ");
const QString kCdEcho = QStringLiteral("cd '/usr/varnel'\r\n$ ");

INSTANTIATE_TEST_SUITE_P(
    Cases, LiveMonitorChunks,
    ::testing::Values(
        ChunkCase{"echo in one chunk hides banner and cd",
                  LiveMonitor::Kind::CallLog,
                  false,
                  "RECONNECTING",
                  {kBanner + kCdEcho + QStringLiteral("tail -f COLL.LOG\r\nrec 1\r\n")},
                  QStringLiteral("\r\nrec 1\r\n"),
                  "PRINT",
                  QString()},
        ChunkCase{"echo split over two chunks",
                  LiveMonitor::Kind::CallLog,
                  false,
                  "RECONNECTING",
                  {kBanner + QStringLiteral("tail -f CO"), QStringLiteral("LL.LOG\r\nrec 1"),
                   QStringLiteral("\r\nrec 2\r\n")},
                  QStringLiteral("\r\nrec 1\r\nrec 2\r\n"),
                  "PRINT",
                  QString()},
        ChunkCase{"command twice switches at the first",
                  LiveMonitor::Kind::CallLog,
                  false,
                  "RECONNECTING",
                  {QStringLiteral("tail -f COLL.LOG\r\n$ tail -f COLL.LOG\r\nrec")},
                  QStringLiteral("\r\n$ tail -f COLL.LOG\r\nrec"),
                  "PRINT",
                  QString()},
        ChunkCase{"no echo yet keeps everything buffered",
                  LiveMonitor::Kind::CallLog,
                  false,
                  "RECONNECTING",
                  {kBanner, kCdEcho, QStringLiteral("tail -f COLL")},
                  QString(),
                  "RECONNECTING",
                  kBanner + kCdEcho + QStringLiteral("tail -f COLL")},
        ChunkCase{"the echo is matched with case",
                  LiveMonitor::Kind::CallLog,
                  false,
                  "RECONNECTING",
                  {QStringLiteral("TAIL -F COLL.LOG\r\nrec")},
                  QString(),
                  "RECONNECTING",
                  QStringLiteral("TAIL -F COLL.LOG\r\nrec")},
        ChunkCase{"empty state drops data",
                  LiveMonitor::Kind::CallLog,
                  false,
                  "",
                  {QStringLiteral("tail -f COLL.LOG\r\nrec")},
                  QString(),
                  "",
                  QString()},
        ChunkCase{"printing passes every chunk through",
                  LiveMonitor::Kind::CallLog,
                  false,
                  "PRINT",
                  {QStringLiteral("rec 1\r\n"), QStringLiteral("tail -f COLL.LOG")},
                  QStringLiteral("rec 1\r\ntail -f COLL.LOG"),
                  "PRINT",
                  QString()},
        ChunkCase{"PMS twin follows its own file",
                  LiveMonitor::Kind::Pms,
                  false,
                  "RECONNECTING",
                  {kBanner + QStringLiteral("tail -f COLL.LOG\r\nx\r\n$ tail -f pms_trn\r\npost")},
                  QStringLiteral("\r\npost"),
                  "PRINT",
                  QString()},
        ChunkCase{
            "partner mode shows everything from the start",
            LiveMonitor::Kind::CallLog,
            true,
            "RECONNECTING",
            {kBanner, kCdEcho + QStringLiteral("tail -f COLL.LOG\r\n"), QStringLiteral("rec")},
            kBanner + kCdEcho + QStringLiteral("tail -f COLL.LOG\r\nrec"),
            "PRINT",
            QString()},
        ChunkCase{"partner mode shows data even before an opening",
                  LiveMonitor::Kind::Pms,
                  true,
                  "",
                  {QStringLiteral("post")},
                  QStringLiteral("post"),
                  "PRINT",
                  QString()}),
    [](const ::testing::TestParamInfo<ChunkCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST(LiveMonitor, TwinsUseTheirOwnStateAndBuffer) {
    testsupport::TempHome home;
    configureSite(1);
    LiveMonitor calls(LiveMonitor::Kind::CallLog);
    LiveMonitor pms(LiveMonitor::Kind::Pms);
    calls.beginReconnect();
    calls.receive(QStringLiteral("banner"));

    EXPECT_EQ(G().g_CallLogState, QStringLiteral("RECONNECTING"));
    EXPECT_EQ(G().g_CallLogBuffer, QStringLiteral("banner"));
    EXPECT_EQ(G().g_PmsState, QString());
    EXPECT_EQ(G().g_PmsBuffer, QString());
    EXPECT_EQ(calls.connectFailureMessage(), QStringLiteral("Unable To Connect for Call Trace"));
    EXPECT_EQ(pms.connectFailureMessage(), QStringLiteral("Unable To Connect for PMS Trace"));
}

TEST(LiveMonitor, BufferOfAnEchoThatNeverCameStaysForTheNextSession) {
    testsupport::TempHome home;
    configureSite(1);
    LiveMonitor monitor(LiveMonitor::Kind::CallLog);
    monitor.beginReconnect();
    monitor.receive(QStringLiteral("old session "));
    monitor.beginReconnect();
    const auto shown = monitor.receive(QStringLiteral("tail -f COLL.LOG\r\nrec"));
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(*shown, QStringLiteral("\r\nrec"));
    EXPECT_TRUE(monitor.buffer().isEmpty());
}

TEST(LiveMonitor, StartCommandsQuoteTheFolderAndKeepTheFollowedExpression) {
    testsupport::TempHome home;
    configureSite(3);
    G().g_SiteHomedir[3] = QStringLiteral("/srv/it's here");
    G().g_SiteTailPbxFile[3] = QStringLiteral("/var/log/pbx.log | grep -v ping");
    LiveMonitor monitor(LiveMonitor::Kind::CallLog);

    EXPECT_EQ(monitor.startCommands(),
              (QStringList{QStringLiteral("cd '/srv/it'\\''s here'\n"),
                           QStringLiteral("tail -f /var/log/pbx.log | grep -v ping\n")}));
    // The echo it waits for is the same expression.
    monitor.beginReconnect();
    EXPECT_TRUE(monitor.receive(QStringLiteral("$ tail -f /var/log/pbx.log | grep -v ping\r\n"))
                    .has_value());
}

TEST(LiveMonitor, NoSiteChosenFollowsNothingAndDoesNotCrash) {
    testsupport::TempHome home;
    G().g_CurSite = -1;
    LiveMonitor monitor(LiveMonitor::Kind::Pms);
    EXPECT_EQ(monitor.tailCommand(), QStringLiteral("tail -f "));
    EXPECT_EQ(monitor.startCommands().first(), QStringLiteral("cd ''\n"));
}

TEST(LiveMonitor, StampCarriesTheTimeOnlyWhilePrinting) {
    testsupport::TempHome home;
    const QDateTime when(QDate(2008, 12, 9), QTime(14, 5, 33));
    LiveMonitor calls(LiveMonitor::Kind::CallLog);
    LiveMonitor pms(LiveMonitor::Kind::Pms);

    calls.state() = QStringLiteral("PRINT");
    EXPECT_EQ(calls.stampLabel(when),
              QStringLiteral("Live Call Records Received at :Dec-09-08 14:05:33"));
    pms.state() = QStringLiteral("PRINT");
    EXPECT_EQ(pms.stampLabel(when),
              QStringLiteral("Last Calls Posted to PMS at :Dec-09-08 14:05:33"));

    for (const char* other : {"", "RECONNECTING", "PRINTWAIT"}) {
        calls.state() = QString::fromLatin1(other);
        EXPECT_EQ(calls.stampLabel(when), QStringLiteral("Live Call Records Received at :"))
            << other;
    }
}

TEST(LiveMonitor, BufferIsCappedButASplitEchoIsStillFound) {
    testsupport::TempHome home;
    configureSite(1);
    LiveMonitor monitor(LiveMonitor::Kind::CallLog, 64);
    monitor.beginReconnect();
    for (int i = 0; i < 50; ++i) monitor.receive(QStringLiteral("banner line %1\r\n").arg(i));
    EXPECT_EQ(monitor.buffer().size(), 64);
    EXPECT_TRUE(monitor.buffer().endsWith(QStringLiteral("banner line 49\r\n")));

    monitor.receive(QString(60, QLatin1Char('x')) + QStringLiteral("tail -f CO"));
    const auto shown = monitor.receive(QStringLiteral("LL.LOG\r\nrec"));
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(*shown, QStringLiteral("\r\nrec"));
}

struct CutCase {
    const char* name;
    QString text;
    int cap;
    qsizetype drop;
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

class LiveMonitorCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(LiveMonitorCut, KeepsTheNewestText) {
    const CutCase& c = GetParam();
    const qsizetype drop = LiveMonitor::excessToDrop(c.text, c.cap);
    EXPECT_EQ(drop, c.drop);
    EXPECT_LE(c.text.size() - drop, c.cap);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LiveMonitorCut,
    ::testing::Values(
        CutCase{"fits", QStringLiteral("abc\ndef\n"), 8, 0},
        CutCase{"cut at the next line start", QStringLiteral("aaaa\nbbbb\ncccc\n"), 12, 5},
        CutCase{"cut point on a line start", QStringLiteral("aaaa\nbbbb\n"), 5, 5},
        CutCase{"no line end left: exact cut", QStringLiteral("aaaaaaaaaa"), 4, 6},
        CutCase{"only a final line end: exact cut", QStringLiteral("aaaaaaaaa\n"), 4, 6}));

TEST(LiveMonitor, DisplayTextLeavesOutCarriageReturns) {
    EXPECT_EQ(LiveMonitor::forDisplay(QStringLiteral("\r\nrec 1\r\nrec 2\r")),
              QStringLiteral("\nrec 1\nrec 2"));
}

}  // namespace
