// A site whose SSHPort is no port number: every kind of session, real and fake, refuses it with
// the message that names the site and the value, before anything is connected.
#include "remote/LiveTailSession.h"
#include "remote/ServerWork.h"

#include "common/Globals.h"
#include "support/FakeServer.h"
#include "support/TempHome.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <functional>
#include <optional>

using namespace quillon;

namespace {

// Opens a session of one kind on site 2 and gives its failure.
using Opener = std::function<ServerFailure()>;

ServerFailure openShell() {
    ServerFailure f;
    const auto shell = ServerWork::instance().openShell(
        shellRequestForSite(2, SiteFolder::Home, QStringLiteral("wodSSH1")), f);
    EXPECT_FALSE(shell);
    return f;
}

ServerFailure openFiles() {
    ServerFailure f;
    const auto files = ServerWork::instance().openFiles(filesRequestForSite(2), f);
    EXPECT_FALSE(files);
    return f;
}

ServerFailure openTail() {
    LiveTailSession tail;
    std::optional<ServerFailure> f;
    QObject::connect(&tail, &LiveTailSession::connected, [&](int code, const QString& text) {
        f = ServerFailure{code, text, QString()};
    });
    tail.connectToHost(shellTargetForSite(2), 5);
    EXPECT_TRUE(testsupport::waitFor([&] { return f.has_value(); }, 5000));
    return f.value_or(ServerFailure{});
}

TEST(RefusedTarget, EverySessionRefusesAPortThatIsNoNumber) {
    const struct {
        const char* name;
        bool fake;
        Opener open;
    } kinds[] = {{"real shell", false, openShell},
                 {"real files", false, openFiles},
                 {"live tail", false, openTail},
                 {"fake shell", true, openShell},
                 {"fake files", true, openFiles}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        testsupport::TempHome home;
        // Were the port taken for 22, the real sessions would try this machine's port 22.
        G().g_SiteIPAddress[2] = QStringLiteral("127.0.0.1");
        G().g_SiteSSHPort[2] = QStringLiteral("22x");
        G().g_SiteSSHUser[2] = QStringLiteral("varneltail");
        G().g_SiteUsername[2] = QStringLiteral("varnel");
        G().g_SiteHomedir[2] = QStringLiteral("/usr/varnel");
        std::optional<testsupport::FakeServer> fake;
        if (kind.fake) fake.emplace();
        QElapsedTimer clock;
        clock.start();
        const ServerFailure f = kind.open();
        EXPECT_EQ(f.code, kSessionFailed);
        EXPECT_EQ(f.text, QStringLiteral("The SSH port \"22x\" of the site Site3 is not a port "
                                         "number from 1 to 65535. No connection was made; "
                                         "correct the port in the site's settings."));
        EXPECT_LT(clock.elapsed(), 2000);
        if (fake) EXPECT_TRUE(fake->lines().isEmpty());
    }
}

}  // namespace
