#include "remote/TablePull.h"

#include "common/Globals.h"
#include "support/FakeServer.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>

#include <optional>

using namespace quillon;
using testsupport::SimServer;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray withCrLf(QByteArray lf) {
    return lf.replace("\n", "\r\n");
}

// Each test pulls from a site folder of its own, so other tests that run do_csv.sh in the
// common site folder meanwhile do not change what it finds.
class TableMirrorTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(parent.isValid());
        ::chmod(QFile::encodeName(parent.path()).constData(), 0755);
        server = parent.path() + "/site";
        if (!SimServer::makeSite(server)) GTEST_SKIP() << "making a site folder needs root";
        ASSERT_EQ(SimServer::runAs(SimServer::shellUser(), "./do_csv.sh", server), 0);
        SimServer::configureSite(2, server);
        G().g_CurSite = 2;
        bats = home.file("North/Bats");
        QDir().mkpath(bats);
    }
    // The current site's pull, as the connecting window starts it.
    static TableMirrorResult pull() {
        return RefreshSiteTables(QStringLiteral("North"), filesRequestForSite(G().g_CurSite),
                                 siteServerFolder(G().g_CurSite));
    }
    QString local(const QString& file) const { return bats + "/" + file; }
    QStringList localFiles() const { return QDir(bats).entryList(QDir::Files | QDir::Hidden); }

    testsupport::TempHome home;
    QTemporaryDir parent{QStringLiteral("/tmp/quillon-mirror-XXXXXX")};
    QString server;
    QString bats;
};

TEST_F(TableMirrorTest, PullsAllThirteenTablesWithCrLfAndKeepsTheScratchFiles) {
    home.write("North/Bats/ext.csv", "stale\r\n");
    home.write("North/Bats/rateunix.csv", "stale\n");
    home.write("North/Bats/notes.txt", "not a table\r\n");
    const TableMirrorResult r = pull();
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(r.missing.isEmpty());
    QStringList expected{"notes.txt"};
    for (const QString& t : mirrorTables()) {
        const QByteArray onServer = readFile(server + "/" + t + ".csv");
        ASSERT_FALSE(onServer.isEmpty()) << t.toStdString();
        EXPECT_EQ(readFile(local(t + "unix.csv")), onServer) << t.toStdString();
        EXPECT_EQ(readFile(local(t + ".csv")), withCrLf(onServer)) << t.toStdString();
        expected << t + ".csv" << t + "unix.csv";
    }
    expected.sort();
    QStringList got = localFiles();
    got.sort();
    EXPECT_EQ(got, expected);  // nothing else deleted, no temporary files left
}

TEST_F(TableMirrorTest, TableMissingOnTheServerLeavesNoWorkingFile) {
    QFile::remove(server + "/ext.csv");
    home.write("North/Bats/ext.csv", "an old copy\r\n");
    home.write("North/Bats/extunix.csv", "an old copy\n");
    const TableMirrorResult r = pull();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.missing, QStringList{"ext"});
    EXPECT_TRUE(r.error.contains(QStringLiteral("ext"))) << r.error.toStdString();
    EXPECT_FALSE(QFile::exists(local("ext.csv")));
    EXPECT_FALSE(QFile::exists(local("extunix.csv")));
    for (const QString& t : mirrorTables().mid(1)) {
        EXPECT_EQ(readFile(local(t + ".csv")), withCrLf(readFile(server + "/" + t + ".csv")))
            << t.toStdString();
    }
    EXPECT_EQ(localFiles().size(), 24);
}

TEST_F(TableMirrorTest, EmptyServerTableGivesAnEmptyWorkingFile) {
    QFile empty(server + "/ac.csv");
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly | QIODevice::Truncate));
    empty.close();
    const TableMirrorResult r = pull();
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(QFile::exists(local("ac.csv")));
    EXPECT_EQ(readFile(local("ac.csv")), QByteArray());
}

TEST_F(TableMirrorTest, FailedSessionIsReportedAndNoOldCopySurvives) {
    home.write("North/Bats/ext.csv", "an old copy\r\n");
    home.write("North/Bats/ldunix.csv", "an old copy\n");
    G().g_SitePassword[2] = QStringLiteral("wrong");
    const TableMirrorResult r = pull();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("refused the login"))) << r.error.toStdString();
    EXPECT_EQ(r.missing, mirrorTables());
    EXPECT_TRUE(localFiles().isEmpty()) << localFiles().join(' ').toStdString();
}

TEST_F(TableMirrorTest, SecondPullWhileOneRunsIsRefused) {
    std::optional<TableMirrorResult> second;
    // Fires inside the first pull's wait, as a window timer would.
    QTimer::singleShot(0, [&] { second = pull(); });
    const TableMirrorResult first = pull();
    EXPECT_TRUE(first.ok) << first.error.toStdString();
    ASSERT_TRUE(second.has_value());
    EXPECT_FALSE(second->ok);
    EXPECT_EQ(second->error, QStringLiteral("A table pull is already running"));
    EXPECT_EQ(localFiles().size(), 26);
    // Once it is over, the next pull runs.
    EXPECT_TRUE(pull().ok);
}

// Over the fake server: one file session, the tables in order, and a time-out that closed it
// ends the pull without waiting for the rest.
TEST(TablePull, OneSessionAndATimeOutEndsThePull) {
    testsupport::TempHome home;
    testsupport::FakeServer server;
    for (const QString& t : mirrorTables())
        server.addFile("/srv/site/" + t + ".csv", t.toUtf8() + ",1\n");
    server.failFetch(QStringLiteral("/srv/site/lt.csv"), kSessionTimedOut);
    const FilesRequest files{
        {QStringLiteral("10.0.0.9"), 22, QStringLiteral("varnel"), QStringLiteral("v")}, 12};
    const TableMirrorResult r =
        RefreshSiteTables(QStringLiteral("North"), files, QStringLiteral("/srv/site"));
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(server.filesRequests().size(), 1u);
    EXPECT_EQ(server.filesRequests()[0].timeoutSec, 12);
    const QString bats = home.file("North/Bats");
    QStringList fetched;
    for (const auto& f : server.fetches()) {
        fetched << f.remotePath;
        EXPECT_EQ(f.localPath, bats + "/" + QFileInfo(f.remotePath).baseName() + "unix.csv");
    }
    QStringList expected;
    for (const QString& t : mirrorTables().mid(0, 6)) expected << "/srv/site/" + t + ".csv";
    EXPECT_EQ(fetched, expected);
    EXPECT_EQ(r.missing, mirrorTables().mid(5));
    EXPECT_EQ(r.error, "The server did not send the table(s) " + r.missing.join(", ") +
                           ". No data from the server within 12 seconds while fetching "
                           "/srv/site/lt.csv; the session was closed.");
    EXPECT_EQ(readFile(bats + "/trunk.csv"), QByteArray("trunk,1\r\n"));
    EXPECT_FALSE(QFile::exists(bats + "/lt.csv"));
}

}  // namespace
