#pragma once
// The stand-in call-accounting server (sim/start): where it listens, its logins, and access to
// its journal, knobs and site folder, for tests that talk to it. The server runs on this
// machine, so the test reads and writes its files directly.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace testsupport {

struct SimServer {
    static bool isUp();  // TCP connect to host():port() works (short time-out)
    static QString host();
    static int port();  // 2222 or $QUILLON_SIM_PORT
    static QString shellUser();
    static QString shellPassword();
    static QString sftpUser();
    static QString sftpPassword();
    static QString siteDir();
    static QString stateDir();

    // Journal lines, in order: "SHELL <line>", "CALL <program> <args>", "SUDO <command> <args>"
    // and "SUDO-SKIPPED <command> <args>".
    static QStringList journal();
    static void clearJournal();
    // The text after "<tag> " of each line with that tag ("SHELL", "SUDO", "SUDO-SKIPPED").
    static QStringList entries(const QString& tag);
    // The text of the SHELL lines.
    static QStringList shellLines();
    // The argument text of each CALL line of that program ("" for a call without arguments).
    static QStringList calls(const QString& program);

    static void setKnob(const QString& name, const QString& value = QStringLiteral("1"));
    static void clearKnobs();
    // Whether the installed answerer reads that knob: a test whose point is the knob fails
    // rather than pass on an older answerer (run sim/start to install this one).
    static bool answererKnows(const QString& knob);

    // Files below siteDir(); written ones are owned by varnel and group-writable.
    static void writeSiteFile(const QString& relative, const QByteArray& bytes);
    static QByteArray readSiteFile(const QString& relative);
    static bool siteFileExists(const QString& relative);
    static void removeSiteFile(const QString& relative);

    // A further site folder at an absolute path (any characters), holding the server's
    // programs, owned by varnel. Needs root. The caller removes it.
    static bool makeSite(const QString& path);

    // Runs a command line with a login shell of the login (not through sshd, no journal SHELL
    // line; its sudo is the stand-in's) in `folder`; returns the exit code, -1 when it could not
    // run. Output and errors go to `output` when given.
    static int runAs(const QString& user, const QString& command, const QString& folder = siteDir(),
                     QByteArray* output = nullptr);

    // Makes this test the server's only user until it ends: other test processes (another
    // helper's run, a second ctest) wait at their SetUp, since the journal and the knobs are
    // shared. SimTest and QUILLON_REQUIRE_SIM take it; it is released when the test ends.
    static void lockForTest();

    // Fills entry `index` of the site table in quillon::G() for this server: IP, SSHPort=port(),
    // SSHUser=varneltail, Username=varnel, Password=v, Homedir=homedir, tail files COLL.LOG and
    // pms_trn, time-outs "0", TelnetPort "23"; raises G().g_SiteCount to index+1 when lower.
    static void configureSite(int index, const QString& homedir = siteDir());
};

inline constexpr const char* kSimDownMessage =
    "stand-in server not running (run sim/start as root)";

// Fixture base for tests against the server: skips when it is down, else starts each test with
// an empty journal and no knobs; knobs are cleared again afterwards.
class SimTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace testsupport

#define QUILLON_REQUIRE_SIM()                                                                  \
    do {                                                                                       \
        if (!::testsupport::SimServer::isUp()) GTEST_SKIP() << ::testsupport::kSimDownMessage; \
        ::testsupport::SimServer::lockForTest();                                               \
    } while (0)
