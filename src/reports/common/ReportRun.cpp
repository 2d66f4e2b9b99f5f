#include "reports/common/ReportRun.h"

#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/Globals.h"
#include "common/ShellQuote.h"
#include "platform/ProfileFile.h"
#include "remote/ServerWork.h"

#include "common/TextFormats.h"

#include <optional>

namespace quillon {

namespace {
int g_deadlineOverride = 0;

using Outcome = ReportRunResult::Outcome;

ReportRunResult failed(Outcome outcome, const QString& message) {
    WriteDebugLog(message);
    return {outcome, message};
}
}  // namespace

int ReportRun::reportDeadlineSec() {
    if (g_deadlineOverride > 0) return g_deadlineOverride;
    return configuredSeconds(config::kReportTimeout, kDefaultReportDeadlineSec);
}

void ReportRun::setReportDeadlineSec(int seconds) {
    g_deadlineOverride = seconds > 0 ? seconds : 0;
}

ReportRunResult ReportRun::run(QStringList& lstCommands, const QString& reportFileName, int site,
                               bool backupMode, WaitCanceller* canceller) {
    if (lstCommands.isEmpty()) return failed(Outcome::Refused, QStringLiteral("Nothing to run."));
    if (!isSafeFileName(reportFileName, 64))
        return failed(Outcome::Refused,
                      QStringLiteral("The report file name \"%1\" cannot be used on the server.")
                          .arg(reportFileName));

    const ShellRequest request =
        shellRequestForSite(site, backupMode ? SiteFolder::Backup : SiteFolder::Home, QString());
    const QString folder = request.folder.value_or(QString());
    const auto sessionBroke = [](const QString& what, const ServerFailure& why) {
        return failed(Outcome::SessionFailed,
                      QStringLiteral("The report was not run: %1.\r\n\r\n%2").arg(what, why.text));
    };
    ServerFailure failure;
    const std::unique_ptr<ServerShell> shell = ServerWork::instance().openShell(request, failure);
    if (!shell) {
        // The open changes to the run folder: a failure there has its line, or no folder at all.
        if (!failure.line.isEmpty() || folder.isEmpty())
            return sessionBroke(QStringLiteral("could not change to the folder %1").arg(folder),
                                failure);
        // Named as the run's other failures are: the connection's words alone do not say that
        // a report failed.
        return failed(Outcome::ConnectFailed,
                      QStringLiteral("The report was not run: could not connect to %1.\r\n\r\n%2")
                          .arg(request.target.host, failure.text));
    }

    const CancelOffer offer(canceller, *shell);
    const auto cancelled = [] {
        return failed(Outcome::Cancelled, cancelledWaitText(QStringLiteral("The report")) +
                                              QStringLiteral(" Nothing was fetched."));
    };

    // The request lines and the removal print nothing when they succeed: a reply or a failed
    // status (a full disk, a folder the login may not write) stops the run before the program.
    const auto writeFailed = [&](const QString& line,
                                 const QString& what) -> std::optional<ReportRunResult> {
        const LineResult r = shell->runChecked(line);
        if (r.failure.code == kSessionCancelled) return cancelled();
        QString why = r.failure.text;
        if (r.ok() && !r.reply.trimmed().isEmpty())
            why = QStringLiteral("The server answered: ") + r.reply.trimmed();
        if (why.isEmpty()) return std::nullopt;
        shell->close();
        return failed(
            Outcome::SessionFailed,
            QStringLiteral("The report was not run: %1 (%2).\r\n\r\n%3").arg(what, line, why));
    };
    while (lstCommands.size() > 1) {
        if (const auto stopped = writeFailed(lstCommands.first(),
                                             QStringLiteral("the request could not be written")))
            return *stopped;
        lstCommands.removeFirst();
    }
    // Only now, so that a run that fails before its program keeps the last report.
    if (const auto stopped = writeFailed(QStringLiteral("rm -f ") + shellQuote(reportFileName),
                                         QStringLiteral("could not remove the last report")))
        return *stopped;

    const int deadline = reportDeadlineSec();
    if (const LineResult ran = shell->run(lstCommands.first(), deadline); !ran.ok()) {
        shell->close();
        if (ran.failure.code == kSessionCancelled) return cancelled();
        if (ran.failure.code == kSessionTimedOut)
            return failed(Outcome::TimedOut,
                          QStringLiteral("The report did not finish within %1. Nothing was "
                                         "fetched; please run it again later.")
                              .arg(durationText(deadline)));
        return failed(Outcome::SessionFailed,
                      QStringLiteral("The connection was lost while the report ran (%1). Nothing "
                                     "was fetched.")
                          .arg(ran.failure.text));
    }
    lstCommands.removeFirst();

    // The quotes keep the marker out of the line's own echo.
    const LineResult present = shell->run(QStringLiteral("test -f ") + shellQuote(reportFileName) +
                                          QStringLiteral(" && echo REPORT''_READY"));
    shell->close();
    if (present.failure.code == kSessionCancelled) return cancelled();
    if (!present.ok())
        return failed(Outcome::SessionFailed,
                      QStringLiteral("The connection was lost after the report ran. "
                                     "Nothing was fetched."));
    if (!present.reply.contains(QStringLiteral("REPORT_READY")))
        return failed(Outcome::NoReport,
                      QStringLiteral("The report program finished without writing %1. Nothing "
                                     "was fetched.")
                          .arg(reportFileName));
    return {Outcome::Done, QString()};
}

}  // namespace quillon
