#pragma once
// Server work as a list of steps run first to last in one shell, stopping at the first that
// fails: the backups' pack, record, restore and delete lines, a new site's set-up, the test call,
// the print queue's listing, a user's deletion. A failed step is told one way
// (failureText): what the step was for, the server's words and the line.
#include "remote/ServerWork.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace quillon {

struct ServerStep {
    enum class Kind {
        Plain,       // run(): the reply is the server's business; any failure stops
        BestEffort,  // run(), for a line whose failure loses nothing (an ownership change the
                     // server may not make): a time-out is passed over, a lost session stops
        Checked,     // runChecked(): the line's own exit status decides
        Folder,      // changeFolder(): "cd" with the folder quoted; any output fails
        BareFolder,  // changeFolderAsWritten(): "cd <folder>" as the server's set-up writes it
    };
    Kind kind = Kind::Checked;
    QString line;         // for Folder and BareFolder: the folder
    int deadlineSec = 0;  // 0: the shell's line deadline
    QString what;         // what the step is for, told when it fails; a sentence without its stop

    static ServerStep plain(const QString& line, const QString& what = QString()) {
        return {Kind::Plain, line, 0, what};
    }
    static ServerStep checked(const QString& line, const QString& what = QString()) {
        return {Kind::Checked, line, 0, what};
    }
    static ServerStep bareFolder(const QString& folder, const QString& what = QString()) {
        return {Kind::BareFolder, folder, 0, what};
    }
};

struct StepsRun {
    // Ok, or the failure that ended the run, its text as the user is told it (failureText
    // with the step's `what`); a cancelled wait keeps the cancelled text.
    ServerFailure failure;
    // The step that failed, or was next when the run was cancelled; the number of steps when
    // every step ran.
    int failedStep = 0;
    // The last step that ran: its reply, and the exit status a checked line reported (none
    // when its line timed out, the session was lost or no status came).
    QString reply;
    std::optional<int> status;
    bool ok() const { return failure.ok(); }
};

struct StepsOptions {
    // Asked before each step: true ends the run there with kSessionCancelled ("The work was
    // cancelled. ...").
    std::function<bool()> cancelled;
    // Told "<line>: <failure>" for every step that failed, passed-over ones too (a debug log).
    std::function<void(const QString&)> log;
};

// Runs the steps in the shell in order until one fails.
StepsRun runServerSteps(ServerShell& shell, const QList<ServerStep>& steps,
                        const StepsOptions& options = {});
// Opens a shell as the request says, runs the steps and closes it. A failed open is the
// failure (its own text), with failedStep 0.
StepsRun runServerSteps(const ShellRequest& request, const QList<ServerStep>& steps,
                        const StepsOptions& options = {});

// A failure as the user is told it: `what` (when given) and a blank line, the failure's text,
// and the line it failed on unless that text quotes it already.
QString failureText(const ServerFailure& failure, const QString& what = QString());

}  // namespace quillon
