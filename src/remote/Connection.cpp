#include "remote/Connection.h"

#include "remote/SessionTexts.h"

#include "platform/SystemInfo.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <mutex>

namespace quillon {

QString sshError(ssh_session s) {
    return QString::fromUtf8(ssh_get_error(s)).trimmed();
}

QString hostLabel(const SessionTarget& t) {
    return t.port == 22 ? t.host : QStringLiteral("%1 port %2").arg(t.host).arg(t.port);
}

QString timeoutText(const SessionTarget& t, int seconds) {
    return QStringLiteral("No answer from the server %1 within %2 seconds.")
        .arg(hostLabel(t))
        .arg(seconds);
}

// --- SshConnection --------------------------------------------------------------------------

SshConnection::SshConnection(ssh_session session, std::shared_ptr<SocketGuard> guard)
    : m_session(session), m_guard(std::move(guard)) {
    if (m_guard) m_guard->attach(m_session);
}

SshConnection::~SshConnection() {
    close();
}

SshConnection::SshConnection(SshConnection&& other) noexcept {
    *this = std::move(other);
}

SshConnection& SshConnection::operator=(SshConnection&& other) noexcept {
    if (this != &other) {
        close();
        m_session = std::exchange(other.m_session, nullptr);
        m_shell = std::exchange(other.m_shell, nullptr);
        m_sftp = std::move(other.m_sftp);
        m_guard = std::move(other.m_guard);
    }
    return *this;
}

void SshConnection::adoptShell(SshChannel channel) {
    m_shell = channel.release();
}

void SshConnection::setSftp(SftpSession sftp) {
    m_sftp = std::move(sftp);
}

void SshConnection::close() {
    m_sftp.reset();
    m_shell = nullptr;
    if (!m_session) return;
    if (m_guard) m_guard->detach();
    ssh_disconnect(m_session);
    ssh_free(m_session);
    m_session = nullptr;
}

// --- connecting -----------------------------------------------------------------------------

namespace {

QString knownHostsPath() {
    return QDir(platform::SystemInfo::programFolder()).filePath(QStringLiteral("known_hosts"));
}

// Sessions started at the same moment must not record the same new key twice.
std::mutex& knownHostsMutex() {
    static std::mutex m;
    return m;
}

bool checkHostKey(ssh_session s, const SessionTarget& t, ServerFailure& f) {
    std::lock_guard lock(knownHostsMutex());
    switch (ssh_session_is_known_server(s)) {
        case SSH_KNOWN_HOSTS_OK:
            return true;
        case SSH_KNOWN_HOSTS_CHANGED:
        case SSH_KNOWN_HOSTS_OTHER:
            f.set(kSessionHostKeyChanged,
                  QStringLiteral("The server's host key has changed for %1. The connection was "
                                 "refused: someone may be posing as the server. If the server "
                                 "was reinstalled, remove its line from %2.")
                      .arg(hostLabel(t), QDir::toNativeSeparators(knownHostsPath())));
            return false;
        case SSH_KNOWN_HOSTS_NOT_FOUND:
        case SSH_KNOWN_HOSTS_UNKNOWN:
            // First contact: remember the key, so a later change is noticed.
            if (ssh_session_update_known_hosts(s) != SSH_OK) {
                f.set(kSessionFailed, QStringLiteral("Could not record the host key of %1 in "
                                                     "%2: %3")
                                          .arg(hostLabel(t), knownHostsPath(), sshError(s)));
                return false;
            }
            return true;
        case SSH_KNOWN_HOSTS_ERROR:
        default:
            f.set(kSessionFailed, QStringLiteral("Could not check the host key of %1: %2")
                                      .arg(hostLabel(t), sshError(s)));
            return false;
    }
}

bool authenticate(ssh_session s, const SessionTarget& t, ServerFailure& f) {
    const QByteArray password = t.password.toUtf8();
    int rc = ssh_userauth_none(s, nullptr);
    if (rc == SSH_AUTH_SUCCESS) return true;
    if (rc == SSH_AUTH_ERROR) {
        f.set(kSessionFailed,
              QStringLiteral("The login at %1 failed: %2").arg(hostLabel(t), sshError(s)));
        return false;
    }
    const int methods = ssh_userauth_list(s, nullptr);
    rc = SSH_AUTH_DENIED;
    if (methods & SSH_AUTH_METHOD_PASSWORD)
        rc = ssh_userauth_password(s, nullptr, password.constData());
    if (rc != SSH_AUTH_SUCCESS && rc != SSH_AUTH_ERROR && (methods & SSH_AUTH_METHOD_INTERACTIVE)) {
        rc = ssh_userauth_kbdint(s, nullptr, nullptr);
        for (int round = 0; rc == SSH_AUTH_INFO && round < 8; ++round) {
            const int prompts = ssh_userauth_kbdint_getnprompts(s);
            for (int i = 0; i < prompts; ++i) {
                char echo = 0;
                ssh_userauth_kbdint_getprompt(s, i, &echo);
                ssh_userauth_kbdint_setanswer(s, i, echo ? "" : password.constData());
            }
            rc = ssh_userauth_kbdint(s, nullptr, nullptr);
        }
    }
    if (rc == SSH_AUTH_SUCCESS) return true;
    if (rc == SSH_AUTH_ERROR)
        f.set(kSessionFailed,
              QStringLiteral("The login at %1 failed: %2").arg(hostLabel(t), sshError(s)));
    else
        f.set(kSessionLoginRefused,
              QStringLiteral("The server %1 refused the login %2: wrong password?")
                  .arg(hostLabel(t), t.login));
    return false;
}

}  // namespace

SshConnection openSsh(const SessionTarget& t, Clock::time_point deadline,
                      const std::shared_ptr<SocketGuard>& guard, ServerFailure& f) {
    if (!t.refusal.isEmpty()) {
        f.set(kSessionFailed, t.refusal);
        return {};
    }
    if (t.host.isEmpty()) {
        f.set(kSessionFailed, sessiontexts::noServerAddress());
        return {};
    }
    ssh_session s = ssh_new();
    if (!s) {
        f.set(kSessionFailed, QStringLiteral("Could not start an SSH session."));
        return {};
    }
    const QByteArray host = t.host.toUtf8();
    const QByteArray user = t.login.toUtf8();
    const QByteArray known = QFile::encodeName(knownHostsPath());
    const unsigned int port = static_cast<unsigned int>(t.port > 0 ? t.port : 22);
    const int processConfig = 0;
    const long timeout = std::max(1, (msLeft(deadline) + 999) / 1000);
    ssh_options_set(s, SSH_OPTIONS_PROCESS_CONFIG, &processConfig);  // never ~/.ssh/config
    ssh_options_set(s, SSH_OPTIONS_HOST, host.constData());
    ssh_options_set(s, SSH_OPTIONS_PORT, &port);
    ssh_options_set(s, SSH_OPTIONS_USER, user.constData());
    ssh_options_set(s, SSH_OPTIONS_KNOWNHOSTS, known.constData());
    ssh_options_set(s, SSH_OPTIONS_GLOBAL_KNOWNHOSTS, known.constData());
    ssh_options_set(s, SSH_OPTIONS_TIMEOUT, &timeout);
    SshConnection conn(s, guard);

    // The connection closes as it goes out of scope.
    auto fail = [&](int code, const QString& text) {
        if (guard->fired) f.set(kSessionTimedOut, timeoutText(t, static_cast<int>(timeout)));
        f.set(code, text);
        return SshConnection();
    };
    if (guard->fired) return fail(kSessionTimedOut, timeoutText(t, static_cast<int>(timeout)));
    if (ssh_connect(s) != SSH_OK) {
        const QString why = sshError(s);
        if (why.contains(QLatin1String("imeout")) || msLeft(deadline) == 0)
            return fail(kSessionTimedOut, timeoutText(t, static_cast<int>(timeout)));
        return fail(
            kSessionUnreachable,
            QStringLiteral("Could not connect to the server %1: %2").arg(hostLabel(t), why));
    }
    if (!checkHostKey(s, t, f)) return fail(f.code, f.text);
    if (!authenticate(s, t, f)) return fail(f.code, f.text);
    if (guard->fired || msLeft(deadline) == 0)
        return fail(kSessionTimedOut, timeoutText(t, static_cast<int>(timeout)));
    return conn;
}

}  // namespace quillon
