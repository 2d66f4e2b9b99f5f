// The logins as the program meets them through sshd: a bare "$ " prompt with nothing before
// it, the site folder as start folder, every typed line in the journal, the stand-in sudo
// without a password. Driven with the OpenSSH client, which takes the password from an askpass
// program.
#include "support/SimServer.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using testsupport::SimServer;

namespace {

class OpenSshClient {
public:
    // program: "ssh" (a shell on a PTY) or "sftp" (commands on stdin).
    OpenSshClient(const QString& program, const QString& user, const QString& password) {
        const QString askpass = m_dir.filePath("askpass");
        QFile f(askpass);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\nprintf '%s\\n' \"$SIM_TEST_PASSWORD\"\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("SSH_ASKPASS", askpass);
        env.insert("SSH_ASKPASS_REQUIRE", "force");
        env.insert("DISPLAY", env.value("DISPLAY", ":0"));
        env.insert("SIM_TEST_PASSWORD", password);
        env.insert("TERM", "dumb");
        m_proc.setProcessEnvironment(env);

        const QString port = QString::number(SimServer::port());
        QStringList args = {"-w", program,
                            "-F", "/dev/null",
                            "-o", "StrictHostKeyChecking=no",
                            "-o", "UserKnownHostsFile=/dev/null",
                            "-o", "GlobalKnownHostsFile=/dev/null",
                            "-o", "LogLevel=ERROR",
                            "-o", "PreferredAuthentications=password",
                            "-o", "NumberOfPasswordPrompts=1"};
        if (program == "ssh")
            args << "-tt"
                 << "-p" << port;
        else
            args << "-P" << port;
        args << user + "@" + SimServer::host();
        // setsid: no controlling terminal, so the password can only come from askpass.
        m_proc.start("setsid", args);
    }
    ~OpenSshClient() {
        if (m_proc.state() != QProcess::NotRunning) {
            m_proc.kill();
            m_proc.waitForFinished(5000);
        }
    }

    void send(const QByteArray& bytes) { m_proc.write(bytes); }
    void closeInput() { m_proc.closeWriteChannel(); }

    // Everything received until the output ends in `suffix`; the rest stays for the next
    // call. Empty optional on time-out.
    std::optional<QByteArray> until(const QByteArray& suffix, int ms = 15000) {
        QDeadlineTimer deadline(ms);
        while (!m_buffer.endsWith(suffix)) {
            if (deadline.hasExpired() || m_proc.state() == QProcess::NotRunning) {
                m_buffer += m_proc.readAllStandardOutput();
                if (m_buffer.endsWith(suffix)) break;
                return std::nullopt;
            }
            m_proc.waitForReadyRead(100);
            m_buffer += m_proc.readAllStandardOutput();
        }
        QByteArray out;
        out.swap(m_buffer);
        return out;
    }
    // Sends a line and returns what came back up to the next prompt, the echo included.
    std::string line(const QByteArray& text, const QByteArray& prompt = "\r\n$ ") {
        send(text + "\n");
        auto got = until(prompt);
        EXPECT_TRUE(got.has_value())
            << "no prompt after " << text.constData() << "; got " << m_buffer.constData();
        return got.value_or(QByteArray()).toStdString();
    }
    QByteArray finish() {
        closeInput();
        m_proc.waitForFinished(15000);
        return m_buffer + m_proc.readAllStandardOutput();
    }
    QByteArray errors() { return m_proc.readAllStandardError(); }

private:
    QTemporaryDir m_dir;
    QProcess m_proc;
    QByteArray m_buffer;
};

class LoginTest : public testsupport::SimTest {};

TEST_F(LoginTest, ShellShowsBarePromptAndJournalsEveryTypedLine) {
    OpenSshClient ssh("ssh", SimServer::shellUser(), SimServer::shellPassword());
    const auto first = ssh.until("$ ");
    ASSERT_TRUE(first.has_value()) << ssh.errors().constData();
    // No message of the day, last-login line, title or paste escapes before the prompt.
    EXPECT_EQ(first->toStdString(), "$ ");
    EXPECT_TRUE(SimServer::journal().isEmpty()) << SimServer::journal().join('\n').toStdString();

    EXPECT_EQ(ssh.line("pwd"), "pwd\r\n/usr/varnel\r\n$ ");
    EXPECT_EQ(ssh.line(""), "\r\n$ ");
    EXPECT_EQ(ssh.line("echo 'one", "\r\n> "), "echo 'one\r\n> ");
    EXPECT_EQ(ssh.line("two'"), "two'\r\none\r\ntwo\r\n$ ");
    EXPECT_EQ(ssh.line("  echo  'a!b'  "), "  echo  'a!b'  \r\na!b\r\n$ ");
    // History expansion is on, as in a real server's interactive bash: a ! outside single quotes
    // is expanded, and a line whose event is not found neither runs nor is journalled.
    EXPECT_EQ(ssh.line("echo \"a!b\""), "echo \"a!b\"\r\n-bash: !b: event not found\r\n$ ");
    EXPECT_EQ(ssh.line("pwd"), "pwd\r\n/usr/varnel\r\n$ ");
    EXPECT_EQ(ssh.line("umask"), "umask\r\n0002\r\n$ ");
    EXPECT_EQ(ssh.line("./do_csv.sh"), "./do_csv.sh\r\n$ ");
    // sudo asks for nothing, runs as the login, marks what it runs and finds the stand-ins for
    // system commands first.
    EXPECT_EQ(ssh.line("sudo -n sh -c 'id -un; echo $SIM_SUDO $PATH'"),
              "sudo -n sh -c 'id -un; echo $SIM_SUDO $PATH'\r\nvarneltail\r\nvarneltail "
              "/var/lib/quillon-sim/bin:/var/lib/quillon-sim/login-bin:/usr/local/sbin:"
              "/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin\r\n$ ");
    ssh.send("exit\n");
    ssh.finish();

    EXPECT_EQ(SimServer::journal().join('\n').toStdString(),
              QStringList({"SHELL pwd", "SHELL echo 'one", "SHELL two'", "SHELL   echo  'a!b'  ",
                           "SHELL pwd", "SHELL umask", "SHELL ./do_csv.sh", "CALL do_csv.sh",
                           "SHELL sudo -n sh -c 'id -un; echo $SIM_SUDO $PATH'",
                           "SUDO sh -c id -un; echo $SIM_SUDO $PATH", "SHELL exit"})
                  .join('\n')
                  .toStdString());
}

TEST_F(LoginTest, FileLoginStartsInTheSiteFolder) {
    SimServer::writeSiteFile("sim-login-probe.txt", "x\n");
    OpenSshClient sftp("sftp", SimServer::sftpUser(), SimServer::sftpPassword());
    sftp.send("pwd\nls sim-login-probe.txt\nbye\n");
    const QByteArray out = sftp.finish();
    SimServer::removeSiteFile("sim-login-probe.txt");
    EXPECT_TRUE(out.contains("Remote working directory: /usr/varnel\n"))
        << out.constData() << sftp.errors().constData();
    EXPECT_TRUE(out.contains("\nsim-login-probe.txt")) << out.constData();
}

TEST_F(LoginTest, WrongPasswordIsRefused) {
    OpenSshClient ssh("ssh", SimServer::shellUser(), "not-the-password");
    EXPECT_FALSE(ssh.until("$ ", 10000).has_value());
    EXPECT_TRUE(ssh.errors().contains("Permission denied"));
}

}  // namespace
