// Text on the stand-in server's interactive shell, whose login runs in the C locale as an old
// server's does: every character a Windows-1252 byte above 0x7F stands for goes out as that
// byte, lands in the file as that byte, and comes back as the same character.
#include "remote/ServerWork.h"

#include "common/ShellQuote.h"
#include "platform/TextCodec.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

using namespace quillon;
using testsupport::SimServer;

namespace {

class ShellBytesSimTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        testsupport::SimTest::SetUp();
        if (IsSkipped()) return;
        file = QStringLiteral("cp1252-%1.txt").arg(QCoreApplication::applicationPid());
        ShellRequest request;
        request.target = {SimServer::host(), SimServer::port(), SimServer::shellUser(),
                          SimServer::shellPassword()};
        request.folder = SimServer::siteDir();
        request.connectTimeoutSec = 30;
        ServerFailure failure;
        shell = ServerWork::instance().openShell(request, failure);
        ASSERT_TRUE(shell) << failure.text.toStdString();
    }
    void TearDown() override {
        if (!file.isEmpty()) SimServer::removeSiteFile(file);
        testsupport::SimTest::TearDown();
    }
    // The reply to a line that must go through.
    QString reply(const QString& line) {
        const LineResult r = shell->run(line);
        EXPECT_TRUE(r.ok()) << r.failure.text.toStdString();
        return r.reply;
    }

    testsupport::TempHome home;
    std::unique_ptr<ServerShell> shell;
    QString file;
};

TEST_F(ShellBytesSimTest, EveryHighByteInAQuotedValueLandsAndComesBackAsItself) {
    // The login's shell is in the C locale: no character is wider than a byte there.
    ASSERT_EQ(reply(QStringLiteral("locale charmap")), QStringLiteral("ANSI_X3.4-1968\n"));

    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b) high.append(static_cast<char>(b));
    const QString text = platform::fromCp1252(high);
    ASSERT_EQ(text.size(), 128);

    EXPECT_EQ(reply(QStringLiteral("echo ") + shellQuote(text) + QStringLiteral(" >") + file),
              QString());
    EXPECT_EQ(SimServer::readSiteFile(file), high + '\n');
    EXPECT_EQ(reply(QStringLiteral("cat ") + file), text + QLatin1Char('\n'));
    // The same value as an argument of its own, in the middle of other words.
    EXPECT_EQ(reply(QStringLiteral("printf '%s|' a ") + shellQuote(text) + QStringLiteral(" b")),
              QStringLiteral("a|") + text + QStringLiteral("|b|"));
}

}  // namespace
