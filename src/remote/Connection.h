#pragma once
// One SSH connection: connect, check the host key against known_hosts in the program folder,
// log in; and the owners of the libssh handles, so that no path leaks or frees one twice.
#include "common/SiteTargets.h"
#include "remote/ServerWork.h"
#include "remote/SessionError.h"
#include "remote/Watchdog.h"

#include <QString>

#include <libssh/libssh.h>
#include <libssh/sftp.h>

#include <memory>

namespace quillon {

QString sshError(ssh_session s);
// "host", or "host port N" off port 22: how messages name the server.
QString hostLabel(const SessionTarget& t);
QString timeoutText(const SessionTarget& t, int seconds);

struct SshChannelFree {
    void operator()(ssh_channel c) const { ssh_channel_free(c); }
};
struct SftpSessionFree {
    void operator()(sftp_session s) const { sftp_free(s); }
};
struct SftpFileClose {
    void operator()(sftp_file f) const { sftp_close(f); }
};
// A channel until the connection adopts it.
using SshChannel = std::unique_ptr<ssh_channel_struct, SshChannelFree>;
using SftpSession = std::unique_ptr<sftp_session_struct, SftpSessionFree>;
using SftpFile = std::unique_ptr<sftp_file_struct, SftpFileClose>;

// An ssh_session and what is open on it, attached to the guard of its watchdog. Closed in the
// one safe order: the SFTP session first (it ends its own channel, and the watchdog can still
// cut it), then the guard lets go and the session goes, freeing the shell channel with it: a
// channel close of its own would wait for the server, and a dropped session must not wait.
class SshConnection {
public:
    SshConnection() = default;
    SshConnection(ssh_session session, std::shared_ptr<SocketGuard> guard);
    ~SshConnection();
    SshConnection(SshConnection&& other) noexcept;
    SshConnection& operator=(SshConnection&& other) noexcept;
    SshConnection(const SshConnection&) = delete;
    SshConnection& operator=(const SshConnection&) = delete;

    explicit operator bool() const { return m_session != nullptr; }
    ssh_session session() const { return m_session; }
    ssh_channel shell() const { return m_shell; }
    sftp_session sftp() const { return m_sftp.get(); }
    // The channel is freed with the session from now on.
    void adoptShell(SshChannel channel);
    void setSftp(SftpSession sftp);
    void close();

private:
    ssh_session m_session = nullptr;
    ssh_channel m_shell = nullptr;  // owned by m_session
    SftpSession m_sftp;
    std::shared_ptr<SocketGuard> m_guard;
};

// Connects, checks the host key and logs in. The guard is attached to the new session, so the
// watchdog can cut a connect that hangs. An empty connection, with the reason in f, on failure.
SshConnection openSsh(const SessionTarget& t, Clock::time_point deadline,
                      const std::shared_ptr<SocketGuard>& guard, ServerFailure& f);

}  // namespace quillon
