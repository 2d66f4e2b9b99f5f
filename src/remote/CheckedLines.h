#pragma once
// Shell lines whose outcome is checked: each line reports its own exit status, and a failure
// names the line, never a silent success.
#include "common/SiteTargets.h"
#include "remote/SessionError.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace quillon {

// Each line is sent with its exit status echoed after it on the same line, so the shell reports
// how it ended whatever the command prints: `<line>; echo "rc=$?"`.
QString withExitStatus(const QString& line);
// A text for the user without the status check of any checked line it quotes: the line as the
// system writes it.
QString withoutStatusCheck(const QString& text);
// The status such a line echoed last in its reply; nullopt when the reply holds none.
std::optional<int> exitStatusOf(const QString& reply);
// The reply without the status line, trimmed.
QString replyWithoutStatus(const QString& reply);
// The reply without the status line, as the command printed it.
QString outputBeforeStatus(const QString& reply);
// Why a checked line did not end well, from its reply: the command's own words (shortened),
// its status, or that it gave none; empty when it ended with status 0.
QString checkedLineProblem(const QString& reply);

struct LineOutcome {
    QString line;     // as given, without the status check
    bool ok = false;  // ran and ended with status 0
    QString problem;  // why not: the command's own words, its status, a time-out
};

struct CheckedRun {
    QString error;  // set when the lines could not be sent (connection, folder)
    QList<LineOutcome> lines;
    // The SessionError of the connect or line that failed first, kSessionCancelled when the user
    // ended a wait of the run; kSessionOk when none failed on the session.
    int code = kSessionOk;

    // Every line was sent and ended well.
    bool allOk() const;
};

// Opens a shell as the request says (ServerWork::instance(): the request's connect deadline and
// folder, its control naming the session in the debug log), then sends every line with its
// status check and records how each ended. A line that fails or times out does not stop the
// rest; a session that is lost marks the lines after it as not sent. Each line has timeoutSec,
// 0: the request's line deadline. The shell is closed at the end.
CheckedRun runCheckedLines(const ShellRequest& request, const QStringList& lines,
                           int timeoutSec = 0);

// For the user: CR LF and "<label>: <problem>" for each line that failed, label(i) naming line i.
QString failureLines(const CheckedRun& run, const std::function<QString(int)>& label);

}  // namespace quillon
