#pragma once
// The one way windows reach a server: open a shell on a site (in its folder or backup
// folder), run a line with a deadline, run a line whose outcome is checked, fetch a file. To a
// window these read as blocking calls; its timers keep running while they wait. Tests install
// a fake (tests/support/FakeServer.h) in place of the real side to see every byte sent.
#include "common/SiteTargets.h"
#include "remote/SessionError.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace quillon {

// One failure value for everything.
struct ServerFailure {
    int code = kSessionOk;  // a SessionError
    QString text;           // for the user: what failed and why
    QString line;           // the shell line that failed; empty for connect/transfer
    bool ok() const { return code == kSessionOk; }
    // The first failure of a connect or a call stands: later ones do not overwrite it.
    void set(int c, const QString& t) {
        if (code == kSessionOk) {
            code = c;
            text = t;
        }
    }
};

struct LineResult {
    ServerFailure failure;
    QString reply;              // between echo and prompt, LF line ends (checked: no status line)
    std::optional<int> status;  // checked lines: the exit status
    bool ok() const { return failure.ok(); }
};

class ServerShell {
public:
    virtual ~ServerShell();
    // Sends one line (a control character or line break in it is refused unsent) and waits
    // for its prompt; a deadline of 0 is the request's line deadline (lineTimeoutSec). A time-out
    // leaves the shell open; a dropped session closes it.
    virtual LineResult run(const QString& line, int deadlineSec = 0) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Callable from the user interface while run() waits (a Cancel button's click): ends the
    // session; the waiting run returns code kSessionCancelled. Harmless otherwise.
    virtual void cancel() = 0;

    // Built on run(), not virtual, so fakes see the exact bytes:
    // `<line>; echo "rc=$?"`: ok only when the line ran and ended with status 0; otherwise the
    // failure names the line and says why (the command's own words, its status, a time-out).
    LineResult runChecked(const QString& line, int deadlineSec = 0);
    // "cd " + shellQuote(folder); any output is a failure, and so is an empty folder.
    LineResult changeFolder(const QString& folder, int deadlineSec = 0);
    // The lstCommands runner: runs the queued lines first to last, removing each as it ran,
    // and stops at the first line that fails (the failed line and the rest stay queued). The
    // reply is the replies of the lines that ran, one after the other.
    LineResult runQueue(QStringList& lines, int deadlineSec = 0);
};

// The folder change as the server's own lines are written: "cd <folder>" as it stands for a
// checked plain path or plain name (nothing in it the shell reads specially), the quoted
// changeFolder() otherwise. cd prints nothing when it got there, so any output fails, with cd's
// own words as the text. A deadline of 0 is the shell's line deadline, as for run().
LineResult changeFolderAsWritten(ServerShell& shell, const QString& folder, int deadlineSec = 0);

class ServerFiles {
public:
    virtual ~ServerFiles();
    // To a temporary name beside localPath, renamed when complete; a failed fetch leaves no
    // file at localPath. deadlineSec 0: the request's time-out, counted from the last data
    // received: a fetch that receives nothing for that long closes the session.
    virtual ServerFailure fetch(const QString& remotePath, const QString& localPath,
                                int deadlineSec = 0) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // As ServerShell::cancel(), for a waiting fetch.
    virtual void cancel() = 0;
};

// Whoever lets the user end a wait that may be long: the long-wait Cancel button
// (widgets/LongWaitCancel.h). While a CancelOffer lives, the user's Cancel calls the session's
// cancel(); the wait then returns kSessionCancelled and the session is closed.
class WaitCanceller {
public:
    virtual ~WaitCanceller();
    virtual void offer(std::function<void()> cancel) = 0;
    virtual void withdraw() = 0;
};

// Offers the canceller (none: nothing) the session for the offer's scope. Made after the
// session and ended before it.
class CancelOffer {
public:
    CancelOffer(WaitCanceller* canceller, ServerShell& shell);
    CancelOffer(WaitCanceller* canceller, ServerFiles& files);
    ~CancelOffer();
    CancelOffer(const CancelOffer&) = delete;
    CancelOffer& operator=(const CancelOffer&) = delete;

private:
    WaitCanceller* m_canceller;
};

// The failure text of a fetch of a file the server does not have (the real transfer's and the
// fakes' alike): the one failure that tells a missing file from a fetch that could not be made.
QString noSuchRemoteFileText(const QString& remotePath);
// A fetch that failed only because the server has no such file.
bool isMissingRemoteFile(const ServerFailure& failure);

// What the user hears after a Cancel: "<work> was cancelled. ..." with the warning that the
// server may still finish it.
QString cancelledWaitText(const QString& work);

class ServerWork {
public:
    virtual ~ServerWork();
    // Connects (and changes to the request's folder); null with the reason in failure.
    virtual std::unique_ptr<ServerShell> openShell(const ShellRequest& request,
                                                   ServerFailure& failure) = 0;
    virtual std::unique_ptr<ServerFiles> openFiles(const FilesRequest& request,
                                                   ServerFailure& failure) = 0;

    static ServerWork& instance();          // the real one unless a test installed another
    static void install(ServerWork* work);  // not owned; nullptr restores the real one
};

}  // namespace quillon
