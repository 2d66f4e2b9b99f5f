// The server's error files: names, the local list, the removal lines and the pull.
#include "menu/ErrorFiles.h"

#include "common/Globals.h"
#include "support/FakeServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using quillon::G;
using testsupport::FakeServer;

namespace {

TEST(ErrorFileNames, CopiesAreKnownOnlyUnderTheirOwnNames) {
    EXPECT_EQ(quillon::serverErrorFiles(),
              (QStringList{"ERROR.COM", "ERROR.LOG", "ERROR.PMS", "ERROR.NEW", "ERROR.911"}));
    EXPECT_EQ(quillon::serverFileOfCopy(QStringLiteral("ERROR.911.RTF")),
              QStringLiteral("ERROR.911"));
    EXPECT_EQ(quillon::serverFileOfCopy(QStringLiteral("error.log.rtf")),
              QStringLiteral("ERROR.LOG"));
    for (const char* other : {"ERROR.COM", "ERROR.COM.RTF.bak", "errors-old.txt", "ERROR.XYZ.RTF",
                              "12-16-08_14-05_ERROR.COM.RTF"})
        EXPECT_TRUE(quillon::serverFileOfCopy(QLatin1String(other)).isEmpty()) << other;
}

TEST(ErrorRemoval, SendsOnlyTheKnownFilesWhoseCopyIsListedEachOnce) {
    const QStringList listed{"ERROR.911.RTF",      "ERROR.COM.RTF", "error x; rm -rf ~",
                             "errors-old.txt",     "error.com.rtf", "Error.Log.Rtf",
                             "error$(reboot).RTF", "ERROR.PMS"};
    EXPECT_EQ(
        quillon::removalLines(listed),
        (QStringList{"sudo rm -f ERROR.911", "sudo rm -f ERROR.COM", "sudo rm -f ERROR.LOG"}));
    EXPECT_TRUE(quillon::removalLines({}).isEmpty());
}

TEST(ErrorList, ShowsTheFilesBeginningWithErrorInAnyCase) {
    testsupport::TempHome home;
    for (const char* f : {"ERROR.COM.RTF", "error.log.rtf", "errors-old.txt", "Errata.txt",
                          "12-16-08_14-05_ERROR.COM.RTF", "notes.txt"})
        home.write(QStringLiteral("Site1/download/errors/") + QLatin1String(f), "x");
    QDir().mkpath(home.file("Site1/download/errors/error-folder"));

    // The folder is found however it is spelt.
    const QString folder = quillon::errorFolder(QStringLiteral("Site1"));
    EXPECT_EQ(folder, home.file("Site1/download/errors"));
    EXPECT_EQ(quillon::listErrorFiles(folder),
              (QStringList{"ERROR.COM.RTF", "error.log.rtf", "errors-old.txt"}));
    EXPECT_TRUE(quillon::listErrorFiles(home.file("Site1/missing")).isEmpty());
}

TEST(ErrorSaveName, IsDateTimeAndEntry) {
    const QDateTime when(QDate(2008, 12, 16), QTime(14, 5, 59));
    EXPECT_EQ(quillon::savedCopyName(when, QStringLiteral("ERROR.COM.RTF")),
              QStringLiteral("12-16-08_14-05_ERROR.COM.RTF"));
    EXPECT_EQ(quillon::savedCopyName(QDateTime(QDate(2009, 1, 2), QTime(3, 4)), "e"),
              QStringLiteral("01-02-09_03-04_e"));
    for (const char* bad : {"", "   ", ".", "..", "a/b", "a\\b", "tab\there", "kept.rtf\n",
                            "kept.rtf\r\n", "kept.rtf\r"})
        EXPECT_FALSE(quillon::isUsableCopyName(QString::fromUtf8(bad))) << bad;
    for (const char* good : {"kept.rtf", "error x; rm -rf ~", "12-16-08_14-05_ERROR.COM.RTF"})
        EXPECT_TRUE(quillon::isUsableCopyName(QString::fromUtf8(good))) << good;
}

// --- the pull over the fake server -----------------------------------------------------------

class ErrorPullTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::configureFakeSite(1);
        folder = home.file("Site1/Download/ERRORS");
        QDir().mkpath(folder);
    }
    QStringList local() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }
    quillon::ErrorPullResult pull(QStringList* logged = nullptr) {
        return quillon::pullErrorFiles(quillon::filesRequestForSite(1), folder,
                                       [logged](const QString& line) {
                                           if (logged) *logged << line;
                                       });
    }

    testsupport::TempHome home;
    FakeServer server;
    QString folder;
};

TEST_F(ErrorPullTest, FetchesWhatTheServerHasAsItStandsAndDropsStaleCopies) {
    server.addFile("ERROR.COM", "line 1\nline 2\n").addFile("ERROR.911", "911\r\nraw\n");
    // Copies of files the server no longer has, one in another case, and a file of the user's.
    home.write(QStringLiteral("Site1/Download/ERRORS/ERROR.LOG.RTF"), "old");
    home.write(QStringLiteral("Site1/Download/ERRORS/error.pms.rtf"), "old");
    home.write(QStringLiteral("Site1/Download/ERRORS/errors-old.txt"), "mine");

    QStringList logged;
    const quillon::ErrorPullResult r = pull(&logged);

    EXPECT_TRUE(r.completed) << r.error.toStdString();
    EXPECT_EQ(r.fetched, (QStringList{"ERROR.COM", "ERROR.911"}));
    // One file session of the file-transfer login; each file by its bare name, in order.
    ASSERT_EQ(server.filesRequests().size(), 1u);
    EXPECT_EQ(server.filesRequests()[0].target.login, "varnel");
    QStringList asked;
    for (const auto& f : server.fetches()) {
        asked << f.remotePath;
        EXPECT_EQ(f.localPath, folder + "/" + f.remotePath + ".RTF");
    }
    EXPECT_EQ(asked, quillon::serverErrorFiles());
    EXPECT_FALSE(server.isFilesOpen(0));
    EXPECT_EQ(local(), (QStringList{"ERROR.911.RTF", "ERROR.COM.RTF", "errors-old.txt"}));
    EXPECT_EQ(home.read("Site1/Download/ERRORS/ERROR.COM.RTF"), QByteArray("line 1\nline 2\n"));
    EXPECT_EQ(home.read("Site1/Download/ERRORS/ERROR.911.RTF"), QByteArray("911\r\nraw\n"));
    EXPECT_EQ(home.read("Site1/Download/ERRORS/errors-old.txt"), QByteArray("mine"));
    EXPECT_EQ(logged, (QStringList{"STARTING FTP FOR ERRORS", "CLOSING FTP FOR ERRORS"}));
}

// A fetch that ends the session ends the pull: the copies fetched before it stay, the files
// after it are not asked for.
TEST_F(ErrorPullTest, ALostSessionEndsThePullAndKeepsWhatCameBefore) {
    server.addFile("ERROR.COM", "com\n").addFile("ERROR.NEW", "new\n");
    server.failFetch("ERROR.PMS", quillon::kSessionTimedOut);
    QStringList logged;
    const quillon::ErrorPullResult r = pull(&logged);

    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.fetched, QStringList{"ERROR.COM"});
    EXPECT_TRUE(r.error.contains("ERROR.PMS")) << r.error.toStdString();
    EXPECT_EQ(server.fetches().size(), 3u);
    EXPECT_EQ(local(), QStringList{"ERROR.COM.RTF"});
    EXPECT_EQ(logged,
              (QStringList{"STARTING FTP FOR ERRORS", "FTP FOR ERRORS FAILED: " + r.error}));
}

TEST_F(ErrorPullTest, DoesNotStartWhileAnotherIsRunning) {
    server.addFile("ERROR.LOG", "x\n");
    quillon::ErrorPullResult second;
    bool ranDuring = false;
    // Comes while the first pull waits for the server.
    server.onFetch("ERROR.COM", [&] {
        ranDuring = quillon::errorPullRunning();
        second = pull();
    });
    const quillon::ErrorPullResult first = pull();

    ASSERT_TRUE(ranDuring);
    EXPECT_TRUE(second.skipped);
    EXPECT_TRUE(second.fetched.isEmpty());
    EXPECT_EQ(server.filesRequests().size(), 1u);
    EXPECT_TRUE(first.completed) << first.error.toStdString();
    EXPECT_EQ(first.fetched, QStringList{"ERROR.LOG"});
    EXPECT_FALSE(quillon::errorPullRunning());
}

TEST_F(ErrorPullTest, UnreachableServerLeavesNoCopyAndSaysWhy) {
    server.failOpen(quillon::kSessionUnreachable, "Could not connect to the server 10.0.0.9");
    home.write(QStringLiteral("Site1/Download/ERRORS/ERROR.COM.RTF"), "old");

    QStringList logged;
    const quillon::ErrorPullResult r = pull(&logged);
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.error, "Could not connect to the server 10.0.0.9");
    EXPECT_TRUE(local().isEmpty());
    EXPECT_EQ(logged, (QStringList{"STARTING FTP FOR ERRORS",
                                   "FTP FOR ERRORS FAILED: Could not connect to the server "
                                   "10.0.0.9"}));
}

}  // namespace
