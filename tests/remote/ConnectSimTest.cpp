#include "remote/RemoteSession.h"

#include "SessionTestSupport.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <functional>
#include <memory>

using namespace quillon;
using namespace remotetest;

namespace {

// --- connect failures, both kinds of session ------------------------------------------------

struct ConnectCase {
    const char* name;
    std::function<SessionTarget(SessionTarget)> adjust;
    int timeoutSec;
    int code;
    const char* text;
};

void PrintTo(const ConnectCase& c, std::ostream* os) {
    *os << c.name;
}

class ConnectFailureTest : public testsupport::SimTest,
                           public ::testing::WithParamInterface<ConnectCase> {
protected:
    testsupport::TempHome home;
};

TEST_P(ConnectFailureTest, FailsWithAClearMessageWithinTheDeadline) {
    const ConnectCase& c = GetParam();
    std::unique_ptr<StallProxy> silent;
    SessionTarget shellTarget = simShell();
    SessionTarget fileTarget = simFiles();
    if (QByteArray(c.name) == "silent server") {
        silent = std::make_unique<StallProxy>(0);
        shellTarget.port = fileTarget.port = silent->port();
    }
    if (QByteArray(c.name) == "changed host key")
        home.write(QStringLiteral("known_hosts"), foreignHostKeyLine(SimServer::port()));
    shellTarget = c.adjust(shellTarget);
    fileTarget = c.adjust(fileTarget);

    auto check = [&](auto& session, const SessionTarget& target) {
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(session.connectToHost(target, c.timeoutSec));
        EXPECT_LT(clock.elapsed(), c.timeoutSec * 1000 + 1500);
        const std::string error = session.errorString().toStdString();
        EXPECT_EQ(session.errorCode(), c.code) << error;
        EXPECT_TRUE(session.errorString().contains(QString::fromUtf8(c.text))) << error;
        EXPECT_TRUE(session.errorString().contains(target.host)) << error;
        EXPECT_FALSE(session.isConnected());
    };
    RemoteShellSession shell;
    check(shell, shellTarget);
    FileTransferSession files;
    check(files, fileTarget);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, ConnectFailureTest,
    ::testing::Values(ConnectCase{"wrong password",
                                  [](SessionTarget t) {
                                      t.password += QStringLiteral("-wrong");
                                      return t;
                                  },
                                  20, kSessionLoginRefused, "refused the login"},
                      ConnectCase{"closed port",
                                  [](SessionTarget t) {
                                      t.port = closedPort();
                                      return t;
                                  },
                                  10, kSessionUnreachable, "Connection refused"},
                      ConnectCase{"silent server", [](SessionTarget t) { return t; }, 2,
                                  kSessionTimedOut, "No answer from the server"},
                      ConnectCase{"changed host key", [](SessionTarget t) { return t; }, 20,
                                  kSessionHostKeyChanged, "The server's host key has changed"},
                      ConnectCase{"no address",
                                  [](SessionTarget t) {
                                      t.host.clear();
                                      return t;
                                  },
                                  5, kSessionFailed, "No server address"}),
    [](const auto& info) {
        QString n = QString::fromUtf8(info.param.name);
        n.replace(QLatin1Char(' '), QLatin1Char('_'));
        return n.toStdString();
    });

TEST(KnownHosts, FirstContactRecordsTheKeyAndLaterContactsAcceptIt) {
    QUILLON_REQUIRE_SIM();
    testsupport::TempHome home;
    {
        RemoteShellSession shell;
        ASSERT_TRUE(shell.connectToHost(simShell(), 30)) << shell.errorString().toStdString();
    }
    const QByteArray known = home.read(QStringLiteral("known_hosts"));
    EXPECT_TRUE(known.startsWith("[127.0.0.1]:" + QByteArray::number(SimServer::port()) + " "))
        << known.toStdString();
    FileTransferSession files;
    ASSERT_TRUE(files.connectToHost(simFiles(), 30)) << files.errorString().toStdString();
    EXPECT_EQ(home.read(QStringLiteral("known_hosts")), known);
}

}  // namespace
