#include "remote/RemoteSession.h"

#include "common/Globals.h"
#include "common/ShellQuote.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

using namespace quillon;
using testsupport::SimServer;

namespace {

// Other people's tests may use the server at the same time: lines carry a token of their own.
QString token() {
    return QString::number(QRandomGenerator::global()->generate64(), 36);
}

// Follows the server's journal from the moment it is made, so the SHELL lines of a test are
// kept even when another test run clears the journal meanwhile.
class JournalWatch {
public:
    JournalWatch() : thread_([this] { run(); }) {}
    ~JournalWatch() {
        stop_ = true;
        thread_.join();
    }
    // The SHELL lines seen so far that contain `filter`.
    QStringList lines(const QString& filter = QString()) {
        QThread::msleep(30);  // the last line may still be on its way
        std::lock_guard lock(m_);
        QStringList out;
        for (const QString& l : lines_)
            if (l.contains(filter)) out << l;
        return out;
    }

private:
    void run() {
        const QString path = SimServer::stateDir() + QStringLiteral("/journal");
        qint64 pos = QFileInfo(path).size();
        QByteArray partial;
        while (!stop_) {
            QFile f(path);
            if (f.open(QIODevice::ReadOnly)) {
                if (f.size() < pos) pos = 0;  // cleared
                f.seek(pos);
                partial += f.readAll();
                pos = f.pos();
                qsizetype nl;
                while ((nl = partial.indexOf('\n')) >= 0) {
                    const QString line = QString::fromUtf8(partial.left(nl));
                    partial.remove(0, nl + 1);
                    if (line.startsWith(QStringLiteral("SHELL "))) {
                        std::lock_guard lock(m_);
                        lines_ << line.mid(6);
                    }
                }
            }
            QThread::msleep(3);
        }
    }
    std::mutex m_;
    QStringList lines_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

SessionTarget simShell() {
    return {SimServer::host(), SimServer::port(), SimServer::shellUser(),
            SimServer::shellPassword()};
}
SessionTarget simFiles() {
    return {SimServer::host(), SimServer::port(), SimServer::sftpUser(), SimServer::sftpPassword()};
}

// A TCP relay to the server that can be told to stop passing bytes (a stalled server), or,
// without an upstream port, a server that accepts and never says a word.
class StallProxy {
public:
    explicit StallProxy(int upstreamPort) : upstream_(upstreamPort) {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listen_, 8);
        socklen_t len = sizeof a;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        if (::pipe(wake_) != 0) wake_[0] = wake_[1] = -1;
        thread_ = std::thread([this] { run(); });
    }
    ~StallProxy() {
        stop_ = true;
        poke();
        thread_.join();
        for (int fd : fds_) ::close(fd);
        ::close(listen_);
        ::close(wake_[0]);
        ::close(wake_[1]);
    }
    int port() const { return port_; }
    void stall() {
        stalled_ = true;
        poke();
    }

private:
    void poke() {
        const char c = 1;
        (void)!::write(wake_[1], &c, 1);
    }
    int dial() {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(upstream_));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }
    void run() {
        std::vector<std::pair<int, int>> pairs;  // client, upstream (-1: silent)
        while (!stop_) {
            std::vector<pollfd> p{{wake_[0], POLLIN, 0}, {listen_, POLLIN, 0}};
            if (!stalled_)
                for (auto& [c, u] : pairs) {
                    p.push_back({c, POLLIN, 0});
                    if (u >= 0) p.push_back({u, POLLIN, 0});
                }
            if (::poll(p.data(), p.size(), 1000) <= 0) continue;
            if (p[0].revents) {
                char buf[16];
                (void)!::read(wake_[0], buf, sizeof buf);
            }
            if (p[1].revents & POLLIN) {
                const int c = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
                if (c >= 0) {
                    const int u = upstream_ > 0 ? dial() : -1;
                    pairs.emplace_back(c, u);
                    fds_.push_back(c);
                    if (u >= 0) fds_.push_back(u);
                }
            }
            for (size_t i = 2; i < p.size() && !stalled_; ++i) {
                if (!(p[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
                for (auto& [c, u] : pairs) {
                    const int to = p[i].fd == c ? u : p[i].fd == u ? c : -2;
                    if (to == -2 || to < 0) continue;
                    char buf[65536];
                    const ssize_t n = ::read(p[i].fd, buf, sizeof buf);
                    if (n > 0) (void)!::write(to, buf, static_cast<size_t>(n));
                    if (n <= 0) ::shutdown(to, SHUT_WR);
                }
            }
        }
    }
    int upstream_;
    int listen_ = -1;
    int port_ = 0;
    int wake_[2]{-1, -1};
    std::atomic<bool> stop_{false};
    std::atomic<bool> stalled_{false};
    std::vector<int> fds_;
    std::thread thread_;
};

// A port nobody listens on: bound, then released.
int closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

// An ed25519 public key that is not the server's.
QByteArray foreignHostKeyLine(int port) {
    auto be32 = [](quint32 v) {
        const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(b, 4);
    };
    const QByteArray blob = be32(11) + "ssh-ed25519" + be32(32) + QByteArray(32, '\x42');
    return "[127.0.0.1]:" + QByteArray::number(port) + " ssh-ed25519 " + blob.toBase64() + "\n";
}

// Refusals before anything is sent still say why in errorCode(), as windows show it.
TEST(SessionRefusals, EveryFailureCarriesACode) {
    testsupport::TempHome home;
    RemoteShellSession shell;
    FileTransferSession files;
    const struct {
        const char* what;
        std::function<bool()> call;
        bool onShell;
        const char* text;
    } cases[] = {
        {"prompt before connect", [&] { return shell.waitForPrompt(1); }, true, "Not connected"},
        {"line before connect", [&] { return shell.execute(QStringLiteral("pwd")).has_value(); },
         true, "Not connected"},
        {"line break", [&] { return shell.execute(QStringLiteral("a\nb")).has_value(); }, true,
         "line break"},
        {"no folder", [&] { return shell.changeFolder(QString()); }, true, "No server folder"},
        {"file before connect",
         [&] { return files.getFile(home.file(QStringLiteral("x.csv")), QStringLiteral("x.csv")); },
         false, "Not connected"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.call()) << c.what;
        EXPECT_EQ(c.onShell ? shell.errorCode() : files.errorCode(), kSessionFailed) << c.what;
        const QString error = c.onShell ? shell.errorString() : files.errorString();
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.text))) << c.what;
    }
}

// --- shell sessions -------------------------------------------------------------------------

class RemoteShellTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        SimServer::configureSite(0);
        G().g_CurSite = 0;
        ASSERT_TRUE(shell.connectToHost(shellTargetForSite(0), 30))
            << shell.errorString().toStdString();
    }
    testsupport::TempHome home;
    JournalWatch journal;
    RemoteShellSession shell;
};

TEST_F(RemoteShellTest, QueueRunsFirstToLastAndEmpties) {
    const QString t = token();
    QStringList lstCommands{"echo one-" + t, "echo two-" + t + " >/dev/null", "echo three-" + t};
    const QStringList sent = lstCommands;
    const QueueResult r = runCommandQueue(shell, lstCommands);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(lstCommands.isEmpty());
    EXPECT_EQ(r.replies, QStringList({"one-" + t + "\n", "", "three-" + t + "\n"}));
    EXPECT_EQ(journal.lines(t), sent);
}

TEST_F(RemoteShellTest, RepliesCarryNoEchoAndNoPrompt) {
    const struct {
        QString line;
        QString reply;
    } cases[] = {
        {QString(), QString()},
        {QStringLiteral("printf 'a\\nb\\n'"), QStringLiteral("a\nb\n")},
        // Text that looks like a prompt inside the echo or the output does not end the line.
        {QStringLiteral("echo '$ ' '# '; echo done"), QStringLiteral("$  # \ndone\n")},
        {QStringLiteral("ls /no-such-folder-here"),
         QStringLiteral("ls: cannot access '/no-such-folder-here': No such file or directory\n")},
        {QStringLiteral("echo ") + shellQuote(QString::fromUtf8("caf\xc3\xa9")),
         QString::fromUtf8("caf\xc3\xa9\n")},
    };
    for (const auto& c : cases) {
        const auto reply = shell.execute(c.line);
        ASSERT_TRUE(reply) << shell.errorString().toStdString();
        EXPECT_EQ(*reply, c.reply) << c.line.toStdString();
    }
}

TEST_F(RemoteShellTest, StrayOutputBetweenLinesIsNotTakenForTheReply) {
    const auto started = shell.execute(QStringLiteral("( (sleep 0.3; echo late-output) & )"));
    ASSERT_TRUE(started) << shell.errorString().toStdString();
    QTest::qWait(800);
    const auto next = shell.execute(QStringLiteral("echo next"));
    ASSERT_TRUE(next) << shell.errorString().toStdString();
    EXPECT_EQ(*next, QStringLiteral("next\n"));
}

TEST_F(RemoteShellTest, LineBreaksInsideALineAreRefused) {
    const QString t = token();
    EXPECT_FALSE(shell.execute("echo 'a\nb' # " + t));
    EXPECT_TRUE(shell.errorString().contains(QStringLiteral("line break")));
    EXPECT_FALSE(shell.execute("echo a\rb # " + t));
    EXPECT_TRUE(journal.lines(t).isEmpty());
    // One final LF is the line's own end, as callers used to add it.
    const auto reply = shell.execute("echo ok-" + t + "\n");
    ASSERT_TRUE(reply) << shell.errorString().toStdString();
    EXPECT_EQ(*reply, "ok-" + t + "\n");
}

TEST_F(RemoteShellTest, ControlCharactersInAQuotedValueAreRefused) {
    // At an interactive shell these are editing keys even inside quotes: Ctrl-A would move
    // the rest of the value to the start of the line and run it.
    const QString t = token();
    const QString victim = "/tmp/quillon-ctl-" + t;
    for (const char16_t key :
         {u'\x01', u'\x03', u'\t', u'\x15', u'\x16', u'\x17', u'\x7f', u'\0'}) {
        const QString value = "x" + QString(QChar(key)) + "touch " + victim + "; # " + t;
        EXPECT_FALSE(shell.execute("echo " + shellQuote(value))) << int(key);
        EXPECT_EQ(shell.errorCode(), kSessionFailed) << int(key);
        EXPECT_TRUE(shell.errorString().contains(QStringLiteral("control character")))
            << shell.errorString().toStdString();
    }
    EXPECT_TRUE(journal.lines(t).isEmpty());
    EXPECT_FALSE(QFile::exists(victim));
    const auto reply = shell.execute("echo ok-" + t);
    ASSERT_TRUE(reply) << shell.errorString().toStdString();
    EXPECT_EQ(*reply, "ok-" + t + "\n");
}

TEST_F(RemoteShellTest, UnbalancedQuoteReturnsAtContinuationPrompt) {
    const QString t = token();
    QElapsedTimer clock;
    clock.start();
    const auto open = shell.execute("echo 'open-" + t, 10);
    ASSERT_TRUE(open) << shell.errorString().toStdString();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(*open, QString());
    // The next line closes the quote: the shell was waiting for it.
    const auto closed = shell.execute(QStringLiteral("closed'"));
    ASSERT_TRUE(closed);
    EXPECT_EQ(*closed, "open-" + t + "\nclosed\n");
}

TEST_F(RemoteShellTest, BackupModeWorksInTheBackupFolder) {
    SimServer::writeSiteFile(QStringLiteral("backup/.keep"), QByteArray());
    G().g_BackupReportsMode = true;
    ASSERT_TRUE(shell.changeFolder(siteServerFolder(G().g_CurSite, G().g_BackupReportsMode)))
        << shell.errorString().toStdString();
    const auto pwd = shell.execute(QStringLiteral("pwd"));
    ASSERT_TRUE(pwd);
    EXPECT_EQ(*pwd, SimServer::siteDir() + QStringLiteral("/backup\n"));
    EXPECT_TRUE(journal.lines().contains("cd " + shellQuote(SimServer::siteDir() + "/backup")));
}

TEST_F(RemoteShellTest, ChangeFolderToAMissingFolderFails) {
    EXPECT_FALSE(shell.changeFolder(QStringLiteral("/usr/varnel/no-such-folder")));
    EXPECT_TRUE(shell.errorString().contains(QStringLiteral("no-such-folder")));
    // The line itself ran, but the failure must not read as kSessionOk.
    EXPECT_EQ(shell.errorCode(), kSessionFailed);
    EXPECT_FALSE(shell.changeFolder(QString()));
    // The session is still there for the next line.
    const auto pwd = shell.execute(QStringLiteral("pwd"));
    ASSERT_TRUE(pwd);
    EXPECT_EQ(*pwd, SimServer::siteDir() + QStringLiteral("\n"));
}

TEST_F(RemoteShellTest, LineOutlivingItsDeadlineStopsTheQueue) {
    const QString t = token();
    QStringList lstCommands{"echo first-" + t, "sleep 3 # " + t, "echo third-" + t};
    QElapsedTimer clock;
    clock.start();
    const QueueResult r = runCommandQueue(shell, lstCommands, 1);
    const qint64 ms = clock.elapsed();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedLine, "sleep 3 # " + t);
    EXPECT_EQ(lstCommands, QStringList({"sleep 3 # " + t, "echo third-" + t}));
    EXPECT_EQ(r.replies, QStringList({"first-" + t + "\n"}));
    EXPECT_TRUE(r.error.contains(QStringLiteral("No answer from the server within 1 seconds")))
        << r.error.toStdString();
    EXPECT_TRUE(r.error.contains("sleep 3 # " + t));
    EXPECT_GE(ms, 900);
    EXPECT_LT(ms, 2500);
    EXPECT_EQ(journal.lines(t), QStringList({"echo first-" + t, "sleep 3 # " + t}));
    EXPECT_EQ(shell.errorCode(), kSessionTimedOut);

    // A line sent while the old one still runs gives up at its own deadline...
    EXPECT_FALSE(shell.execute("echo early-" + t, 1));
    EXPECT_TRUE(shell.errorString().contains(QStringLiteral("still busy")));
    // ...and once the old line is done the session carries on, its output not mixed in.
    const auto later = shell.execute("echo later-" + t, 10);
    ASSERT_TRUE(later) << shell.errorString().toStdString();
    EXPECT_EQ(*later, "later-" + t + "\n");
    EXPECT_FALSE(journal.lines(t).contains("echo early-" + t));
}

TEST_F(RemoteShellTest, WindowTimersRunWhileALineWaits) {
    int ticks = 0;
    std::optional<QString> nested = QStringLiteral("not called");
    QTimer dots;
    QObject::connect(&dots, &QTimer::timeout, [&] {
        if (++ticks == 2) nested = shell.execute(QStringLiteral("echo nested"));
    });
    dots.start(100);
    const auto reply = shell.execute(QStringLiteral("sleep 1; echo slept"));
    dots.stop();
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, QStringLiteral("slept\n"));
    EXPECT_GE(ticks, 5);
    // A handler that runs during the wait cannot send on the same session.
    EXPECT_FALSE(nested.has_value());
}

TEST_F(RemoteShellTest, DeletingASessionDuringItsOwnWaitIsSafe) {
    auto* doomed = new RemoteShellSession;
    ASSERT_TRUE(doomed->connectToHost(simShell(), 30)) << doomed->errorString().toStdString();
    // A window closed while it waits takes its session with it.
    QTimer::singleShot(200, [&] { delete doomed; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(doomed->execute(QStringLiteral("sleep 5")));
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST_F(RemoteShellTest, FolderWithQuoteAndSemicolonIsOneLiteralPath) {
    QTemporaryDir parent(QStringLiteral("/tmp/quillon-remote-XXXXXX"));
    ASSERT_TRUE(parent.isValid());
    ::chmod(QFile::encodeName(parent.path()).constData(), 0755);
    const QString victim = "pwned-" + token();
    const QString odd = parent.path() + "/a'b;touch " + victim;
    if (!SimServer::makeSite(odd)) GTEST_SKIP() << "making a site folder needs root";
    ASSERT_TRUE(shell.changeFolder(odd)) << shell.errorString().toStdString();
    const auto pwd = shell.execute(QStringLiteral("pwd"));
    ASSERT_TRUE(pwd);
    EXPECT_EQ(*pwd, odd + "\n");
    EXPECT_TRUE(journal.lines().contains("cd " + shellQuote(odd)));
    EXPECT_FALSE(QFile::exists(SimServer::siteDir() + "/" + victim));
    EXPECT_FALSE(QFile::exists(parent.path() + "/" + victim));
    EXPECT_FALSE(QFile::exists(odd + "/" + victim));
}

TEST_F(RemoteShellTest, ServerEndingTheShellIsAFailure) {
    EXPECT_FALSE(shell.execute(QStringLiteral("exit")));
    EXPECT_FALSE(shell.isConnected());
    EXPECT_TRUE(shell.errorString().contains(QStringLiteral("closed the session")));
    EXPECT_FALSE(shell.execute(QStringLiteral("echo x")));
    EXPECT_TRUE(shell.errorString().contains(QStringLiteral("Not connected")));
}

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

// --- live tail ------------------------------------------------------------------------------

class LiveTailTest : public testsupport::SimTest {
protected:
    QString received(QSignalSpy& spy) {
        QString all;
        for (const auto& args : spy) all += args.at(0).toString();
        return all;
    }
    testsupport::TempHome home;
};

TEST_F(LiveTailTest, ConnectsInTheBackgroundAndStreams) {
    LiveTailSession tail;
    QSignalSpy connected(&tail, &LiveTailSession::connected);
    QSignalSpy data(&tail, &LiveTailSession::dataReceived);
    QElapsedTimer clock;
    clock.start();
    tail.connectToHost(simShell(), 30);
    EXPECT_LT(clock.elapsed(), 200);
    ASSERT_TRUE(connected.wait(30000));
    EXPECT_EQ(connected.at(0).at(0).toInt(), 0);
    EXPECT_EQ(connected.at(0).at(1).toString(), QString());
    EXPECT_TRUE(tail.isConnected());
    const QString t = token();
    tail.send("cd " + shellQuote(SimServer::siteDir()) + "\n");
    tail.send("for i in 1 2 3; do echo tick-$i-" + t + "; sleep 0.2; done\n");
    QTRY_VERIFY_WITH_TIMEOUT(received(data).contains("tick-3-" + t), 10000);
    const QString text = received(data);
    EXPECT_LT(text.indexOf("tick-1-" + t), text.indexOf("tick-2-" + t));
    EXPECT_GT(data.count(), 2);  // chunks arrive as they come, not at the end
}

TEST_F(LiveTailTest, DisconnectEndsItWithoutFurtherSignals) {
    LiveTailSession tail;
    QSignalSpy connected(&tail, &LiveTailSession::connected);
    QSignalSpy data(&tail, &LiveTailSession::dataReceived);
    QSignalSpy gone(&tail, &LiveTailSession::disconnected);
    tail.connectToHost(simShell(), 30);
    ASSERT_TRUE(connected.wait(30000));
    tail.send(QStringLiteral("while :; do echo busy; sleep 0.05; done\n"));
    QTRY_VERIFY_WITH_TIMEOUT(received(data).contains(QStringLiteral("busy")), 10000);
    QElapsedTimer clock;
    clock.start();
    tail.disconnect();
    EXPECT_LT(clock.elapsed(), 100);
    EXPECT_FALSE(tail.isConnected());
    const int before = data.count();
    QTest::qWait(400);
    EXPECT_EQ(data.count(), before);
    EXPECT_EQ(gone.count(), 0);

    // The same object connects again.
    tail.connectToHost(simShell(), 30);
    ASSERT_TRUE(connected.wait(30000));
    EXPECT_EQ(connected.last().at(0).toInt(), 0);
}

TEST_F(LiveTailTest, ClosingWhileItStillConnectsDoesNotWaitForTheDeadline) {
    // A monitor window closed while its server has not answered yet.
    StallProxy silent(0);
    SessionTarget target = simShell();
    target.port = silent.port();
    QElapsedTimer clock;
    {
        LiveTailSession tail;
        QSignalSpy connected(&tail, &LiveTailSession::connected);
        tail.connectToHost(target, 30);
        QTest::qWait(300);
        // Connecting again drops the first attempt; it must not be waited for either.
        clock.start();
        tail.connectToHost(target, 30);
        EXPECT_LT(clock.elapsed(), 1000);
        QTest::qWait(300);
        clock.restart();
    }
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST_F(LiveTailTest, ServerDroppingTheSessionIsReported) {
    LiveTailSession tail;
    QSignalSpy connected(&tail, &LiveTailSession::connected);
    QSignalSpy gone(&tail, &LiveTailSession::disconnected);
    tail.connectToHost(simShell(), 30);
    ASSERT_TRUE(connected.wait(30000));
    tail.send(QStringLiteral("exit\n"));
    ASSERT_TRUE(gone.wait(10000));
    EXPECT_FALSE(tail.isConnected());
}

TEST_F(LiveTailTest, FailureToConnectIsReportedWithItsReason) {
    LiveTailSession tail;
    QSignalSpy connected(&tail, &LiveTailSession::connected);
    SessionTarget target = simShell();
    target.password = QStringLiteral("wrong");
    tail.connectToHost(target, 20);
    ASSERT_TRUE(connected.wait(25000));
    EXPECT_EQ(connected.at(0).at(0).toInt(), kSessionLoginRefused);
    EXPECT_TRUE(connected.at(0).at(1).toString().contains(QStringLiteral("refused the login")));
    EXPECT_FALSE(tail.isConnected());

    StallProxy silent(0);
    target = simShell();
    target.port = silent.port();
    QElapsedTimer clock;
    clock.start();
    tail.connectToHost(target, 2);
    ASSERT_TRUE(connected.wait(5000));
    EXPECT_LT(clock.elapsed(), 3500);
    EXPECT_EQ(connected.last().at(0).toInt(), kSessionTimedOut);
}

}  // namespace
