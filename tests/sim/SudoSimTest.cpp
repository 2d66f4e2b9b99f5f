// The logins' sudo, a stand-in that never makes anyone root: it runs the command as the login,
// marked so the server's programs can tell it from a plain call, journals it, reaches the
// stand-ins for system commands, and records the owner, group and mode changes only root could
// make instead of failing them. Nothing on the machine gives the logins root.
#include "support/SimServer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

using testsupport::SimServer;

namespace {

const QString kStandIn = QStringLiteral("/var/lib/quillon-sim/login-bin/sudo");

int fileMode(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return -1;
    return static_cast<int>(st.st_mode & 07777);
}

// A program of this machine run as the test (root); its output and errors together.
QByteArray runHere(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.waitForFinished(30000);
    return p.readAll();
}

class SudoTest : public testsupport::SimTest {
protected:
    int run(const QString& user, const QString& line, QByteArray* out = nullptr) {
        return SimServer::runAs(user, line, SimServer::siteDir(), out);
    }
};

struct RunCase {
    const char* line;
    bool asFileLogin;  // else the shell login
    int status;
    const char* output;   // "%1": the login's name
    const char* journal;  // its SUDO entry, "" for none
};

TEST_F(SudoTest, RunsTheCommandAsTheLoginMarkedAndJournalled) {
    const RunCase cases[] = {
        {"sudo -n sh -c 'id -un; echo \"[$SIM_SUDO]\"'", false, 0, "%1\n[%1]\n",
         "sh -c id -un; echo \"[$SIM_SUDO]\""},
        {"sudo -n sh -c 'id -un; echo \"[$SIM_SUDO]\"'", true, 0, "%1\n[%1]\n",
         "sh -c id -un; echo \"[$SIM_SUDO]\""},
        {"sh -c 'echo \"[$SIM_SUDO]\"'", false, 0, "[]\n", ""},
        {"sudo -u root -- id -un", false, 0, "%1\n", "id -un"},
        {"sudo sh -c umask", false, 0, "0002\n", "sh -c umask"},
        {"sudo -u varnel id -un", false, 1,
         "sudo: the stand-in runs commands as %1 only, not as varnel\n", ""},
        {"sudo -s", false, 1, "sudo: -s: not offered by the stand-in sudo\n", ""},
        {"sudo no-such-command x", false, 1, "sudo: no-such-command: command not found\n",
         "no-such-command x"},
    };
    for (const RunCase& c : cases) {
        const QString user = c.asFileLogin ? SimServer::sftpUser() : SimServer::shellUser();
        SCOPED_TRACE((user + ": " + c.line).toStdString());
        SimServer::clearJournal();
        QByteArray out;
        EXPECT_EQ(run(user, c.line, &out), c.status);
        EXPECT_EQ(out.toStdString(), QString::fromUtf8(c.output).replace("%1", user).toStdString());
        const QStringList expected =
            *c.journal ? QStringList{QString::fromUtf8(c.journal)} : QStringList();
        EXPECT_EQ(SimServer::entries("SUDO"), expected);
    }
}

// What the front end runs with sudo works as it did with a root sudo, and the programs that
// need sudo still refuse a plain call.
TEST_F(SudoTest, ServerLinesReachTheProgramsAndTheStandIns) {
    struct Case {
        const char* line;
        int status;
        const char* program;  // whose CALL the line leads to
        const char* args;     // nullptr: no CALL of it
    };
    const Case cases[] = {
        {"sudo ./ORV_UNLOCK ext.db", 0, "ORV_UNLOCK", "ext.db"},
        {"sudo date 1209140508", 0, "date", "1209140508"},
        {"date +%Y", 0, "date", nullptr},
        {"sudo /sbin/hwclock --systohc ", 0, "hwclock", "--systohc"},
        {"sudo /usr/sbin/hwclock -w", 0, "hwclock", "-w"},
        {"sudo hwclock --systohc", 0, "hwclock", "--systohc"},
        {"sudo sh -c 'date 0101000070'", 0, "date", "0101000070"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SimServer::clearJournal();
        QByteArray out;
        EXPECT_EQ(run(SimServer::shellUser(), c.line, &out), c.status) << out.constData();
        const QStringList calls = SimServer::calls(c.program);
        EXPECT_EQ(calls, c.args ? QStringList{c.args} : QStringList());
    }
    QByteArray out;
    EXPECT_EQ(run(SimServer::shellUser(), "./ORV_UNLOCK ext.db", &out), 1);
    EXPECT_EQ(out, "ORV_UNLOCK: ext.db: permission denied (run as root)\n");
}

struct ChangeCase {
    const char* name;
    bool byOwner;      // the file login owns the probe; the shell login does not
    const char* line;  // "%1": the probe file
    int status;
    const char* error;  // a part of the output, "" for none
    bool skipped;       // journalled as SUDO-SKIPPED
    int mode;           // afterwards
    const char* owner;  // afterwards
    const char* group;  // afterwards
};

void PrintTo(const ChangeCase& c, std::ostream* os) {
    *os << c.name;
}

class SudoChangeTest : public SudoTest, public ::testing::WithParamInterface<ChangeCase> {
protected:
    const QString probe = QStringLiteral("sudo-probe-%1").arg(QCoreApplication::applicationPid());
    void SetUp() override {
        SudoTest::SetUp();
        if (IsSkipped()) return;
        SimServer::writeSiteFile(probe, "x\n");  // varnel's, mode 0664
    }
    void TearDown() override {
        SimServer::removeSiteFile(probe);
        SudoTest::TearDown();
    }
};

TEST_P(SudoChangeTest, MadeWhereTheLoginMayElseRecorded) {
    const ChangeCase& c = GetParam();
    const QString line = QString::fromUtf8(c.line).arg(probe);
    QByteArray out;
    EXPECT_EQ(run(c.byOwner ? SimServer::sftpUser() : SimServer::shellUser(), line, &out),
              c.status);
    if (*c.error)
        EXPECT_TRUE(out.contains(c.error)) << out.constData();
    else
        EXPECT_EQ(out, QByteArray());
    const QString command = line.mid(QStringLiteral("sudo ").size());
    EXPECT_EQ(SimServer::entries("SUDO"), QStringList{command});
    EXPECT_EQ(SimServer::entries("SUDO-SKIPPED"), c.skipped ? QStringList{command} : QStringList());
    const QString path = SimServer::siteDir() + '/' + probe;
    EXPECT_EQ(fileMode(path), c.mode);
    EXPECT_EQ(QFileInfo(path).owner(), QLatin1String(c.owner));
    EXPECT_EQ(QFileInfo(path).group(), QLatin1String(c.group));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, SudoChangeTest,
    ::testing::Values(ChangeCase{"ModeByTheOwner", true, "sudo chmod 600 %1", 0, "", false, 0600,
                                 "varnel", "varnel"},
                      ChangeCase{"ModeByAnother", false, "sudo chmod 666 %1", 0, "", true, 0664,
                                 "varnel", "varnel"},
                      ChangeCase{"ModeBySystemPath", true, "sudo /bin/chmod 640 %1", 0, "", false,
                                 0640, "varnel", "varnel"},
                      ChangeCase{"OwnerToRoot", true, "sudo chown root %1", 0, "", true, 0664,
                                 "varnel", "varnel"},
                      ChangeCase{"OwnerUnchanged", true, "sudo chown varnel %1", 0, "", false, 0664,
                                 "varnel", "varnel"},
                      ChangeCase{"GroupTheLoginIsNotIn", true, "sudo chgrp users %1", 0, "", true,
                                 0664, "varnel", "varnel"},
                      ChangeCase{"UnknownGroupFailsAsForRoot", true, "sudo chgrp no-such-group %1",
                                 1, "chgrp: invalid group: 'no-such-group'", false, 0664, "varnel",
                                 "varnel"},
                      ChangeCase{"MissingFileFailsTheRestIsRecorded", false,
                                 "sudo chmod 666 no-such-file %1", 1,
                                 "cannot access 'no-such-file'", true, 0664, "varnel", "varnel"}),
    [](const auto& info) { return std::string(info.param.name); });

// The logins have no way to root: no sudo rule, no sudoers file of ours, no system command
// replaced; their own shells find the stand-in, nobody else's do.
TEST_F(SudoTest, TheLoginsHaveNoRootDoor) {
    if (::geteuid() != 0) GTEST_SKIP() << "reading sudo's rules needs root";
    for (const QString& user : {SimServer::shellUser(), SimServer::sftpUser()}) {
        SCOPED_TRACE(user.toStdString());
        if (QFileInfo::exists("/usr/bin/sudo")) {
            const QByteArray rules = runHere("/usr/bin/sudo", {"-l", "-U", user});
            EXPECT_TRUE(rules.contains("is not allowed to run sudo")) << rules.constData();
        }
        QByteArray found;
        EXPECT_EQ(run(user, "command -v sudo", &found), 0);
        EXPECT_EQ(found, kStandIn.toUtf8() + '\n');
    }
    const QDir sudoers("/etc/sudoers.d");
    for (const QString& name : sudoers.entryList(QDir::Files | QDir::Hidden)) {
        QFile f(sudoers.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray text = f.readAll();
        EXPECT_FALSE(text.contains("varnel") || text.contains("quillon")) << name.toStdString();
    }
    QFile hwclock("/sbin/hwclock");
    if (hwclock.open(QIODevice::ReadOnly)) EXPECT_FALSE(hwclock.readAll().contains("quillon-sim"));
    if (QFileInfo::exists("/usr/bin/dpkg-divert"))
        EXPECT_EQ(runHere("/usr/bin/dpkg-divert", {"--list", "/sbin/hwclock"}), QByteArray());
    // Another user's login shell finds the system's sudo (or none).
    QByteArray other;
    SimServer::runAs("nobody", "command -v sudo", "/", &other);
    EXPECT_FALSE(other.contains("quillon-sim")) << other.constData();
}

}  // namespace
