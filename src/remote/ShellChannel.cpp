#include "remote/ShellChannel.h"

namespace quillon {

SshChannel openShellChannel(ssh_session s, const SessionTarget& t, ServerFailure& f) {
    SshChannel ch(ssh_channel_new(s));
    if (ch && ssh_channel_open_session(ch.get()) == SSH_OK &&
        ssh_channel_request_pty_size(ch.get(), "dumb", 4000, 24) == SSH_OK &&
        ssh_channel_request_shell(ch.get()) == SSH_OK)
        return ch;
    f.set(kSessionFailed,
          QStringLiteral("The server %1 did not open a shell: %2").arg(hostLabel(t), sshError(s)));
    return nullptr;
}

ReadResult readUntilPrompt(ssh_channel ch, PromptMatcher& matcher, Clock::time_point deadline) {
    char chunk[16384];
    for (;;) {
        if (matcher.complete()) {
            // Take what is already here too: a prompt-like text in the middle of output.
            const int more = ssh_channel_read_nonblocking(ch, chunk, sizeof chunk, 0);
            if (more > 0) {
                matcher.add(QByteArrayView(chunk, more));
                continue;
            }
            return ReadResult::Prompt;
        }
        const int wait = msLeft(deadline);
        if (wait == 0) return ReadResult::TimedOut;
        const int n = ssh_channel_read_timeout(ch, chunk, sizeof chunk, 0, wait);
        if (n > 0) {
            matcher.add(QByteArrayView(chunk, n));
        } else if (n < 0 || ssh_channel_is_eof(ch) || ssh_channel_is_closed(ch)) {
            return ReadResult::Dropped;
        }
    }
}

bool writeAll(ssh_channel ch, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const int n = ssh_channel_write(ch, data.constData() + done,
                                        static_cast<uint32_t>(data.size() - done));
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

}  // namespace quillon
