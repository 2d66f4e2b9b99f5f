#include "remote/FileTransferSession.h"

#include "remote/ServerWork.h"
#include "SessionTestSupport.h"
#include "support/FileSizeLimit.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <memory>

using namespace quillon;
using namespace remotetest;

namespace {

// --- file transfers -------------------------------------------------------------------------

class FileTransferTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        name = "remote-test-" + token() + ".bin";
        QDir().mkpath(dl());
    }
    void TearDown() override {
        if (!name.isEmpty()) SimServer::removeSiteFile(name);
        SimTest::TearDown();
    }
    QString dl(const QString& file = QString()) const { return home.file("dl/" + file); }
    QStringList localFiles() const { return QDir(dl()).entryList(QDir::Files | QDir::Hidden); }
    testsupport::TempHome home;
    QString name;
};

TEST_F(FileTransferTest, FetchesTheFileByteForByte) {
    // Larger than the read-ahead window and not a whole number of chunks, CR and NUL inside.
    QByteArray bytes;
    for (int i = 0; i < 2'500'000; ++i) bytes += char((i * 7 + i / 4093) & 0xff);
    bytes += "a\r\nb\n\0end";
    SimServer::writeSiteFile(name, bytes);
    SimServer::writeSiteFile(name + ".empty", QByteArray());
    FileTransferSession files;
    ASSERT_TRUE(files.connectToHost(simFiles(), 30)) << files.errorString().toStdString();
    // A bare name resolves in the login's start folder, a full path anywhere.
    ASSERT_TRUE(files.getFile(dl("a.bin"), name)) << files.errorString().toStdString();
    ASSERT_TRUE(files.getFile(dl("b.bin"), SimServer::siteDir() + "/" + name));
    ASSERT_TRUE(files.getFile(dl("e.bin"), name + ".empty"));
    EXPECT_EQ(home.read("dl/a.bin"), bytes);
    EXPECT_EQ(home.read("dl/b.bin"), bytes);
    EXPECT_TRUE(QFile::exists(dl("e.bin")));
    EXPECT_EQ(home.read("dl/e.bin"), QByteArray());
    EXPECT_EQ(localFiles(), QStringList({"a.bin", "b.bin", "e.bin"}));
    SimServer::removeSiteFile(name + ".empty");
}

TEST_F(FileTransferTest, FailedDownloadLeavesNoFileAndNoTemporaryFile) {
    home.write(QStringLiteral("dl/old.csv"), "an old copy\r\n");
    FileTransferSession files;
    ASSERT_TRUE(files.connectToHost(simFiles(), 30)) << files.errorString().toStdString();
    EXPECT_FALSE(files.getFile(dl("old.csv"), name));
    EXPECT_TRUE(files.errorString().contains(name));
    EXPECT_TRUE(files.errorString().contains(QStringLiteral("no such file")));
    EXPECT_FALSE(files.getFile(dl("no-folder/x.csv"), QStringLiteral("ext.csv")));
    EXPECT_TRUE(localFiles().isEmpty()) << localFiles().join(' ').toStdString();
    // A missing file does not end the session.
    SimServer::writeSiteFile(name, "x\n");
    EXPECT_TRUE(files.getFile(dl("x.csv"), name)) << files.errorString().toStdString();
}

// A small file stays in the writer's buffer until the rename: a disk that fills up then fails
// the fetch, and, as any failed fetch, leaves no file (never a cut one).
TEST_F(FileTransferTest, ADownloadCutShortByAFullDiskFailsAndLeavesNoFile) {
    SimServer::writeSiteFile(name, QByteArray(2000, 'n'));
    home.write(QStringLiteral("dl/old.csv"), "an old copy\r\n");
    FileTransferSession files;
    ASSERT_TRUE(files.connectToHost(simFiles(), 30)) << files.errorString().toStdString();
    bool fetched = true;
    {
        const testsupport::FileSizeLimit full(512);
        fetched = files.getFile(dl("old.csv"), name);
    }
    EXPECT_FALSE(fetched);
    EXPECT_TRUE(files.errorString().contains(dl("old.csv"))) << files.errorString().toStdString();
    EXPECT_TRUE(localFiles().isEmpty()) << localFiles().join(' ').toStdString();
}

TEST_F(FileTransferTest, StalledServerIsCutOffAtTheDeadline) {
    SimServer::writeSiteFile(name, QByteArray(300'000, 'x'));
    StallProxy proxy(SimServer::port());
    SessionTarget target = simFiles();
    target.port = proxy.port();
    // The relay's port is another host for known_hosts; first contact records it.
    FileTransferSession files;
    ASSERT_TRUE(files.connectToHost(target, 30)) << files.errorString().toStdString();
    ASSERT_TRUE(files.getFile(dl("first.bin"), name));
    proxy.stall();
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(files.getFile(dl("second.bin"), name, 2));
    EXPECT_GE(clock.elapsed(), 1900);
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_EQ(files.errorCode(), kSessionTimedOut);
    EXPECT_TRUE(files.errorString().contains(QStringLiteral("within 2 seconds")))
        << files.errorString().toStdString();
    EXPECT_FALSE(files.isConnected());
    EXPECT_EQ(localFiles(), QStringList({"first.bin"}));
    EXPECT_FALSE(files.getFile(dl("third.bin"), name));
}

// FTPTIMEOUT is the time without data: a large file on a slow line that keeps flowing arrives
// whole, however long it takes; one that stalls is cut once nothing came for that long.
TEST_F(FileTransferTest, ATransferIsCutOnlyWhenItStalls) {
    QByteArray bytes;
    for (int i = 0; i < 2'000'000; ++i) bytes += char((i * 13 + i / 977) & 0xff);
    SimServer::writeSiteFile(name, bytes);
    StallProxy proxy(SimServer::port());
    SessionTarget target = simFiles();
    target.port = proxy.port();
    ServerFailure failure;
    const std::unique_ptr<ServerFiles> files =
        ServerWork::instance().openFiles(FilesRequest{target, 3}, failure);
    ASSERT_TRUE(files) << failure.text.toStdString();
    const QString remote = SimServer::siteDir() + "/" + name;

    proxy.throttle(500'000);
    QElapsedTimer clock;
    clock.start();
    const ServerFailure slow = files->fetch(remote, dl("slow.bin"));
    EXPECT_TRUE(slow.ok()) << slow.text.toStdString();
    EXPECT_GT(clock.elapsed(), 3000);
    EXPECT_TRUE(home.read("dl/slow.bin") == bytes);

    proxy.throttle(0);
    proxy.stallAfter(1'000'000);
    clock.restart();
    const ServerFailure stalled = files->fetch(remote, dl("stalled.bin"));
    EXPECT_EQ(stalled.code, kSessionTimedOut);
    EXPECT_TRUE(stalled.text.startsWith("No data from the server within 3 seconds"))
        << stalled.text.toStdString();
    EXPECT_GE(clock.elapsed(), 2900);
    EXPECT_LT(clock.elapsed(), 6000);
    EXPECT_EQ(localFiles(), QStringList{"slow.bin"});
}

}  // namespace
