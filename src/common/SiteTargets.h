#pragma once
// Where a site's server work goes: the logins of a site of the site table, its server folders,
// and the plain requests that open a shell or a file transfer on it. The sessions themselves
// (src/remote) read none of the process-wide values; these are where they are read.
#include <QString>

#include <optional>

namespace quillon {

// The password of the shell login; the same for every site.
inline constexpr const char* kShellPassword = "qeltravonis";
// Connect and transfer deadline when the configuration gives none (g_FtpTimeout's default).
inline constexpr int kServerTimeoutSec = 90;
// Deadline of one shell line unless a step needs longer and says so.
inline constexpr int kLineTimeoutSec = 60;
// That deadline as configured: [Sites] LineTimeout seconds, kLineTimeoutSec by default.
int lineTimeoutSec();
// The deadline a line is held to: its own when it names one, else its session's, else
// kLineTimeoutSec.
inline int lineDeadlineSec(int own, int session) {
    return own > 0 ? own : session > 0 ? session : kLineTimeoutSec;
}
// Deadline of ./do_csv.sh, which writes all 13 tables.
inline constexpr int kTableWriteTimeoutSec = 600;

struct SessionTarget {
    QString host;
    int port = 22;
    QString login;
    QString password;
    // Why no connection may be made to it (a site whose SSHPort is no port number); every
    // session refuses such a target with this text before it connects. Empty: it may.
    QString refusal{};
};

// Site i of the site table: the shell login (g_SiteSSHUser, stored shell password) and the
// file-transfer login (g_SiteUsername, g_SitePassword), both on the site's SSHPort. An SSHPort
// that is not a port number from 1 to 65535 gives a refused target naming the site and the
// value, never another port.
SessionTarget shellTargetForSite(int site);
SessionTarget sftpTargetForSite(int site);
// The site's server folder: g_SiteHomedir, with "/backup" appended when asked; empty (with or
// without "/backup") when the site has none.
QString siteServerFolder(int site, bool backup = false);
// For the user, when the site has no server folder.
QString noServerFolderText();

// The folder a site's shell works in: the login's start folder, g_SiteHomedir, or its /backup.
enum class SiteFolder { Login, Home, Backup };

struct ShellRequest {
    SessionTarget target;
    // Changed to (checked, "cd '<folder>'") right after the connect; none: stay in the login's
    // start folder. An empty folder is a site without a server folder: the open fails rather
    // than run the work in the wrong place.
    std::optional<QString> folder;
    QString control;  // the session control's name for the debug log ("wodSSH1"); empty: no log
    int connectTimeoutSec = kServerTimeoutSec;
    int lineTimeoutSec = kLineTimeoutSec;  // a line's deadline where the caller names none
};

struct FilesRequest {
    SessionTarget target;
    int timeoutSec = kServerTimeoutSec;  // per connect and per transfer
};

// The shell login of a site, in the given folder, with the connect deadline g_FtpTimeout and
// the configured line deadline. Asked for its folder or backup folder, a site without a server
// folder gives a refused target (noServerFolderText).
ShellRequest shellRequestForSite(int site, SiteFolder folder, const QString& control);
// The file-transfer login of a site, with the deadline g_FtpTimeout.
FilesRequest filesRequestForSite(int site);

}  // namespace quillon
