#pragma once
// The report run shared by every report window: one shell on the site (ServerWork), the
// request lines, the report program, and a check that the program left its report file.
#include <QString>
#include <QStringList>

namespace quillon {

class WaitCanceller;

struct ReportRunResult {
    enum class Outcome {
        Done,           // the report file is on the server, ready to be fetched
        Refused,        // nothing was sent (bad names, empty queue)
        ConnectFailed,  // no session
        SessionFailed,  // the session broke or a line got no prompt
        TimedOut,       // the report program did not finish within the deadline
        NoReport,       // the program finished without writing the report file
        Cancelled,      // the user ended the wait; the session is closed
    };
    Outcome outcome = Outcome::Refused;
    QString message;  // for the user; empty when Done
    bool ok() const { return outcome == Outcome::Done; }
};

class ReportRun {
public:
    static constexpr int kDefaultReportDeadlineSec = 30 * 60;

    // How long the report program's line may take: a test's override, else the key
    // ReportTimeout (seconds) of section Sites in KTReports.ini, else 30 minutes.
    static int reportDeadlineSec();
    // 0 ends the override.
    static void setReportDeadlineSec(int seconds);

    // Runs the queued lines, first to last, in the site's server folder (its backup subfolder
    // in backup-reports mode) and removes each line that ran. The last line is the report
    // program's; it gets the long deadline, every other line the usual one. The request lines
    // are checked lines: any reply or a failed status stops the run before the program. A
    // report file left by an earlier run is removed just before the program, so only this
    // run's report counts as done and a run that fails earlier keeps the last one.
    // `canceller` (the window's long-wait Cancel) is offered the shell for as long as it is
    // open: a Cancel ends the run at once, and nothing more is sent.
    static ReportRunResult run(QStringList& lstCommands, const QString& reportFileName, int site,
                               bool backupMode, WaitCanceller* canceller = nullptr);
};

}  // namespace quillon
