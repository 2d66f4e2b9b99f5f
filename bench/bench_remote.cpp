// Our sessions against OpenSSH's own clients, side by side on the stand-in server:
//  1. the table pull (13 tables, ext with 50,000 rows) against `sftp -b` fetching the same
//     13 files in one session;
//  2. 200 shell lines through one shell of ServerWork against the same lines through one
//     `ssh -tt` session fed from a script.
// OpenSSH gets the passwords from an SSH_ASKPASS script (SSH_ASKPASS_REQUIRE=force), reads no
// configuration (-F /dev/null) and keeps its host keys in the bench's own temporary folder.
// Each side runs several rounds, alternating; the medians are compared.
#include "common/Globals.h"
#include "common/ShellQuote.h"
#include "platform/SystemInfo.h"
#include "remote/RemoteSession.h"
#include "remote/ServerWork.h"
#include "remote/TablePull.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace quillon;

namespace {

constexpr int kRounds = 5;
constexpr int kBigExtRows = 50000;
constexpr int kShellLines = 200;
const QString kHost = QStringLiteral("127.0.0.1");
const QString kState = QStringLiteral("/var/lib/quillon-sim");

int simPort() {
    bool ok = false;
    const int p = qEnvironmentVariable("QUILLON_SIM_PORT").toInt(&ok);
    return ok && p > 0 && p < 65536 ? p : 2222;
}

bool simIsUp() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(simPort()));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return up;
}

bool writeFile(const QString& path, const QByteArray& bytes, QFile::Permissions perms = {}) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    f.write(bytes);
    f.close();
    if (perms) f.setPermissions(perms);
    return true;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Runs an OpenSSH client; false with its output on failure.
bool runOpenSsh(const QString& program, const QStringList& args, const QByteArray& input,
                const QString& askpass, QByteArray* output) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SSH_ASKPASS"), askpass);
    env.insert(QStringLiteral("SSH_ASKPASS_REQUIRE"), QStringLiteral("force"));
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":0"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000)) return false;
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    *output = p.readAll();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QStringList openSshCommon(const QString& tmp) {
    return {QStringLiteral("-F"),
            QStringLiteral("/dev/null"),
            QStringLiteral("-o"),
            QStringLiteral("UserKnownHostsFile=") + tmp + QStringLiteral("/openssh_known_hosts"),
            QStringLiteral("-o"),
            QStringLiteral("GlobalKnownHostsFile=/dev/null"),
            QStringLiteral("-o"),
            QStringLiteral("StrictHostKeyChecking=accept-new"),
            QStringLiteral("-o"),
            QStringLiteral("PubkeyAuthentication=no"),
            QStringLiteral("-o"),
            QStringLiteral("NumberOfPasswordPrompts=1")};
}

void report(const char* what, double ours, double theirs) {
    const double ratio = theirs > 0 ? ours / theirs : 0;
    std::printf("%-44s ours %8.1f ms   OpenSSH %8.1f ms   ratio %.2f %s\n", what, ours, theirs,
                ratio, ratio <= 1.3 ? "(goal 1.3: met)" : "(goal 1.3: NOT met)");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (!simIsUp()) {
        std::printf(
            "bench_remote: the stand-in server is not running on %s:%d (run sim/start as "
            "root); nothing measured.\n",
            qPrintable(kHost), simPort());
        return 0;
    }
    QTemporaryDir tmpDir(QDir::tempPath() + QStringLiteral("/quillon-bench-XXXXXX"));
    const QString tmp = tmpDir.path();
    platform::SystemInfo::setProgramFolder(tmp);

    // A site folder of the bench's own when it may make one, so the big table does not land
    // where tests look; otherwise the common one, put back afterwards.
    QString site = QStringLiteral("/usr/varnel");
    bool ownSite = false;
    if (::geteuid() == 0) {
        QFile::setPermissions(tmp, QFile::permissions(tmp) | QFile::ExeGroup | QFile::ExeOther |
                                       QFile::ReadGroup | QFile::ReadOther);
        const QString candidate = tmp + QStringLiteral("/site");
        if (QProcess::execute(kState + QStringLiteral("/mksite"), {candidate}) == 0) {
            site = candidate;
            ownSite = true;
        }
    }
    G().g_CurSite = 1;
    G().g_SiteCount = 2;
    G().g_SiteIPAddress[1] = kHost;
    G().g_SiteSSHPort[1] = QString::number(simPort());
    G().g_SiteSSHUser[1] = QStringLiteral("varneltail");
    G().g_SiteUsername[1] = QStringLiteral("varnel");
    G().g_SitePassword[1] = QStringLiteral("v");
    G().g_SiteHomedir[1] = site;

    const SessionTarget shellTarget = shellTargetForSite(1);
    auto runDoCsv = [&](bool big) {
        const QString knob = kState + QStringLiteral("/knobs/big_ext");
        if (big) writeFile(knob, QByteArray::number(kBigExtRows), QFile::Permissions(0x6666));
        RemoteShellSession shell;
        const bool ok = shell.connectToHost(shellTarget, 60) && shell.changeFolder(site) &&
                        shell.execute(QStringLiteral("./do_csv.sh"), 300).has_value();
        if (big) QFile::remove(knob);
        if (!ok)
            std::printf("bench_remote: do_csv.sh failed: %s\n", qPrintable(shell.errorString()));
        return ok;
    };
    if (!runDoCsv(true)) return 1;
    const QByteArray bigExt = readFile(site + QStringLiteral("/ext.csv"));
    std::printf("bench_remote: site %s, ext.csv %d rows (%lld bytes), %d rounds each\n",
                qPrintable(site), static_cast<int>(bigExt.count('\n')),
                static_cast<long long>(bigExt.size()), kRounds);

    const QString askVarnel = tmp + QStringLiteral("/askpass-varnel");
    const QString askTail = tmp + QStringLiteral("/askpass-varneltail");
    const auto exec = QFile::Permissions(0x7000);
    writeFile(askVarnel, "#!/bin/sh\necho v\n", exec);
    writeFile(askTail, QByteArray("#!/bin/sh\necho ") + kShellPassword + "\n", exec);

    // --- 1. the table pull --------------------------------------------------------------
    const QString openDir = tmp + QStringLiteral("/openssh-tables");
    QDir().mkpath(openDir);
    QByteArray batch;
    for (const QString& t : mirrorTables())
        batch += "get \"" + (site + "/" + t + ".csv").toUtf8() + "\" \"" +
                 (openDir + "/" + t + "unix.csv").toUtf8() + "\"\n";
    writeFile(tmp + QStringLiteral("/batch"), batch);
    QStringList sftpArgs = openSshCommon(tmp);
    // -b turns batch mode on, which would forbid the password; the first setting wins.
    sftpArgs << QStringLiteral("-o") << QStringLiteral("BatchMode=no") << QStringLiteral("-q")
             << QStringLiteral("-P") << QString::number(simPort()) << QStringLiteral("-b")
             << tmp + QStringLiteral("/batch") << QStringLiteral("varnel@") + kHost;

    std::vector<double> oursPull, theirsPull;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        t.start();
        const TableMirrorResult r =
            RefreshSiteTables(QStringLiteral("Bench"), filesRequestForSite(1), siteServerFolder(1));
        oursPull.push_back(t.nsecsElapsed() / 1e6);
        if (!r.ok) {
            std::printf("bench_remote: RefreshSiteTables failed: %s\n", qPrintable(r.error));
            return 1;
        }
        QByteArray out;
        t.restart();
        if (!runOpenSsh(QStringLiteral("sftp"), sftpArgs, QByteArray(), askVarnel, &out)) {
            std::printf("bench_remote: sftp failed: %s\n", out.constData());
            return 1;
        }
        theirsPull.push_back(t.nsecsElapsed() / 1e6);
    }
    const QString bats = siteTableFolder(QStringLiteral("Bench"));
    if (readFile(bats + QStringLiteral("/extunix.csv")) != bigExt ||
        readFile(openDir + QStringLiteral("/extunix.csv")) != bigExt) {
        std::printf("bench_remote: the fetched ext table differs from the server's\n");
        return 1;
    }

    // --- 2. shell lines -----------------------------------------------------------------
    QStringList lines;
    QString expectedReplies;
    QByteArray script;
    for (int i = 1; i <= kShellLines; ++i) {
        lines << QStringLiteral("echo %1").arg(i);
        expectedReplies += QStringLiteral("%1\n").arg(i);
        script += "echo " + QByteArray::number(i) + "\n";
    }
    script += "exit\n";
    QStringList sshArgs = openSshCommon(tmp);
    sshArgs << QStringLiteral("-tt") << QStringLiteral("-p") << QString::number(simPort())
            << QStringLiteral("varneltail@") + kHost;

    std::vector<double> oursShell, oursLinesOnly, theirsShell;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        t.start();
        {
            ServerFailure failure;
            const auto shell = ServerWork::instance().openShell(
                {shellTarget, std::nullopt, QString(), 60}, failure);
            if (!shell) {
                std::printf("bench_remote: connect failed: %s\n", qPrintable(failure.text));
                return 1;
            }
            QElapsedTimer l;
            l.start();
            QStringList queue = lines;
            const LineResult r = shell->runQueue(queue);
            oursLinesOnly.push_back(l.nsecsElapsed() / 1e6);
            if (!r.ok() || !queue.isEmpty() || r.reply != expectedReplies) {
                std::printf("bench_remote: shell lines failed: %s\n", qPrintable(r.failure.text));
                return 1;
            }
            shell->close();
        }
        oursShell.push_back(t.nsecsElapsed() / 1e6);
        QByteArray out;
        t.restart();
        if (!runOpenSsh(QStringLiteral("ssh"), sshArgs, script, askTail, &out) ||
            !out.contains("\n" + QByteArray::number(kShellLines) + "\r\n")) {
            std::printf("bench_remote: ssh failed: %s\n", out.right(400).constData());
            return 1;
        }
        theirsShell.push_back(t.nsecsElapsed() / 1e6);
    }

    if (!ownSite) runDoCsv(false);  // the common site gets its usual tables back

    std::printf("\nmedians of %d rounds (connect and log-in included on both sides)\n", kRounds);
    report("13 tables, ext 50,000 rows (pull vs sftp -b)", median(oursPull), median(theirsPull));
    report("200 shell lines (session vs ssh -tt script)", median(oursShell), median(theirsShell));
    std::printf("  of which our 200 lines alone: %.1f ms (%.2f ms a line)\n", median(oursLinesOnly),
                median(oursLinesOnly) / kShellLines);
    return 0;
}
