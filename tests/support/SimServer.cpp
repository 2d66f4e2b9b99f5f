#include "SimServer.h"

#include "common/Globals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <arpa/inet.h>
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace testsupport {

namespace {

QString knobDir() {
    return SimServer::stateDir() + QStringLiteral("/knobs");
}
QString journalPath() {
    return SimServer::stateDir() + QStringLiteral("/journal");
}
QString sitePath(const QString& relative) {
    return SimServer::siteDir() + QLatin1Char('/') + relative;
}

// Hands a path to the site's owner so both logins can replace it; only root can.
void giveToSiteOwner(const QString& path, mode_t mode) {
    const QByteArray p = QFile::encodeName(path);
    if (::geteuid() == 0) {
        const passwd* pw = ::getpwnam("varnel");
        const group* gr = ::getgrnam("varnel");
        if (pw && gr) (void)::chown(p.constData(), pw->pw_uid, gr->gr_gid);
    }
    (void)::chmod(p.constData(), mode);
}

// The cross-process test lock: an flock on a file in the state folder, held from the first
// lockForTest() of a test to its end. The kernel drops it if the process dies.
int g_lockFd = -1;

class LockReleaser : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        if (g_lockFd >= 0) {
            ::flock(g_lockFd, LOCK_UN);
            ::close(g_lockFd);
            g_lockFd = -1;
        }
    }
};

}  // namespace

void SimServer::lockForTest() {
    if (g_lockFd >= 0) return;
    static bool listening = false;
    if (!listening) {
        ::testing::UnitTest::GetInstance()->listeners().Append(new LockReleaser);
        listening = true;
    }
    const QByteArray path = QFile::encodeName(stateDir() + QStringLiteral("/test.lock"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return;  // no state folder: nothing to share
    (void)::fchmod(fd, 0666);
    // Wait for the other user, but not for ever: a hung test elsewhere must not hang this one.
    // A short poll: a program whose tests follow each other takes the lock again at once, and a
    // long one would leave the others waiting behind it until it ends.
    for (int waited = 0; ::flock(fd, LOCK_EX | LOCK_NB) != 0; waited += 2) {
        if (waited >= 600000) {
            ADD_FAILURE() << "the stand-in server stayed locked by another test for 10 minutes";
            break;
        }
        ::usleep(2 * 1000);
    }
    g_lockFd = fd;
}

bool SimServer::isUp() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port()));
    ::inet_pton(AF_INET, host().toLatin1().constData(), &addr.sin_addr);
    bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    if (!up && errno == EINPROGRESS) {
        pollfd pfd{fd, POLLOUT, 0};
        if (::poll(&pfd, 1, 1000) == 1) {
            int err = 0;
            socklen_t len = sizeof err;
            up = ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
        }
    }
    ::close(fd);
    return up;
}

QString SimServer::host() {
    return QStringLiteral("127.0.0.1");
}

int SimServer::port() {
    bool ok = false;
    const int p = qEnvironmentVariable("QUILLON_SIM_PORT").toInt(&ok);
    return ok && p > 0 && p < 65536 ? p : 2222;
}

QString SimServer::shellUser() {
    return QStringLiteral("varneltail");
}
QString SimServer::shellPassword() {
    return QStringLiteral("qeltravonis");
}
QString SimServer::sftpUser() {
    return QStringLiteral("varnel");
}
QString SimServer::sftpPassword() {
    return QStringLiteral("v");
}
QString SimServer::siteDir() {
    return QStringLiteral("/usr/varnel");
}
QString SimServer::stateDir() {
    return QStringLiteral("/var/lib/quillon-sim");
}

QStringList SimServer::journal() {
    QFile f(journalPath());
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

void SimServer::clearJournal() {
    // Truncate in place: the file keeps its mode 0666, so every login can still append.
    QFile f(journalPath());
    if (f.open(QIODevice::ReadWrite)) f.resize(0);
}

QStringList SimServer::entries(const QString& tag) {
    QStringList out;
    const QString lead = tag + QLatin1Char(' ');
    for (const QString& line : journal())
        if (line.startsWith(lead)) out << line.mid(lead.size());
    return out;
}

QStringList SimServer::shellLines() {
    return entries(QStringLiteral("SHELL"));
}

QStringList SimServer::calls(const QString& program) {
    QStringList out;
    const QString lead = program + QLatin1Char(' ');
    for (const QString& call : entries(QStringLiteral("CALL"))) {
        if (call == program)
            out << QString();
        else if (call.startsWith(lead))
            out << call.mid(lead.size());
    }
    return out;
}

void SimServer::setKnob(const QString& name, const QString& value) {
    QFile f(knobDir() + QLatin1Char('/') + name);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(value.toUtf8());
    f.close();
    (void)::chmod(QFile::encodeName(f.fileName()).constData(), 0666);
}

bool SimServer::answererKnows(const QString& knob) {
    QFile f(stateDir() + QStringLiteral("/answerer"));
    return f.open(QIODevice::ReadOnly) && f.readAll().contains(knob.toUtf8());
}

void SimServer::clearKnobs() {
    QDir dir(knobDir());
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        dir.remove(name);
}

void SimServer::writeSiteFile(const QString& relative, const QByteArray& bytes) {
    const QString path = sitePath(relative);
    // Make the missing folders one by one so each is handed to the site's owner.
    const QString parent = QFileInfo(path).path();
    QStringList missing;
    for (QString d = parent; !QFileInfo::exists(d) && d != siteDir(); d = QFileInfo(d).path())
        missing.prepend(d);
    for (const QString& d : missing) {
        QDir().mkdir(d);
        giveToSiteOwner(d, 02775);
    }
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
    f.close();
    giveToSiteOwner(path, 0664);
}

QByteArray SimServer::readSiteFile(const QString& relative) {
    QFile f(sitePath(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool SimServer::siteFileExists(const QString& relative) {
    return QFileInfo::exists(sitePath(relative));
}

void SimServer::removeSiteFile(const QString& relative) {
    const QString path = sitePath(relative);
    if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

bool SimServer::makeSite(const QString& path) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(stateDir() + QStringLiteral("/mksite"), {path});
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

int SimServer::runAs(const QString& user, const QString& command, const QString& folder,
                     QByteArray* output) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setWorkingDirectory(folder);
    if (::geteuid() == 0)
        p.start(QStringLiteral("runuser"),
                {QStringLiteral("-u"), user, QStringLiteral("--"), QStringLiteral("bash"),
                 QStringLiteral("-lc"), command});
    else
        p.start(QStringLiteral("sudo"),
                {QStringLiteral("-n"), QStringLiteral("-u"), user, QStringLiteral("--"),
                 QStringLiteral("bash"), QStringLiteral("-lc"), command});
    if (!p.waitForStarted(10000)) return -1;
    p.closeWriteChannel();
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (output) *output = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void SimServer::configureSite(int index, const QString& homedir) {
    auto& g = quillon::G();
    if (index < 0 || index >= quillon::kMaxSites) return;
    g.g_SiteIPAddress[index] = host();
    g.g_SiteSSHPort[index] = QString::number(port());
    g.g_SiteTelnetPort[index] = QStringLiteral("23");
    g.g_SiteSSHUser[index] = shellUser();
    g.g_SiteUsername[index] = sftpUser();
    g.g_SitePassword[index] = sftpPassword();
    g.g_SiteHomedir[index] = homedir;
    g.g_SiteTailPbxFile[index] = QStringLiteral("COLL.LOG");
    g.g_SiteTailPmsFile[index] = QStringLiteral("pms_trn");
    g.g_SiteTailPbxTimeout[index] = QStringLiteral("0");
    g.g_SiteTailPmsTimeout[index] = QStringLiteral("0");
    if (g.g_SiteCount < index + 1) g.g_SiteCount = index + 1;
}

void SimTest::SetUp() {
    if (!SimServer::isUp()) GTEST_SKIP() << kSimDownMessage;
    SimServer::lockForTest();
    SimServer::clearJournal();
    SimServer::clearKnobs();
}

void SimTest::TearDown() {
    SimServer::clearKnobs();
}

}  // namespace testsupport
