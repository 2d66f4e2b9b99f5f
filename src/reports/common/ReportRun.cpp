#include "reports/common/ReportRun.h"

#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/Globals.h"
#include "common/ShellQuote.h"
#include "common/TextFormats.h"
#include "platform/SystemInfo.h"
#include "remote/ServerWork.h"

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
                               bool backupMode) {
    if (lstCommands.isEmpty()) return failed(Outcome::Refused, QStringLiteral("Nothing to run."));
    if (!isSafeFileName(reportFileName, 64))
        return failed(Outcome::Refused,
                      QStringLiteral("The report file name \"%1\" cannot be used on the server.")
                          .arg(reportFileName));

    // Connected in the login's folder, so that a missing site folder is told as such.
    const ShellRequest request = shellRequestForSite(site, SiteFolder::Login, QString());
    ServerFailure failure;
    std::unique_ptr<ServerShell> shell = ServerWork::instance().openShell(request, failure);
    if (!shell)
        return failed(
            Outcome::ConnectFailed,
            QStringLiteral("Could not connect to %1: %2").arg(request.target.host, failure.text));

    const QString folder = siteServerFolder(site, backupMode);
    const auto sessionBroke = [&](const QString& what, const ServerFailure& why) {
        shell->close();
        return failed(Outcome::SessionFailed,
                      QStringLiteral("The report was not run: %1.\r\n\r\n%2").arg(what, why.text));
    };
    if (const LineResult cd = shell->changeFolder(folder); !cd.ok())
        return sessionBroke(QStringLiteral("could not change to the folder %1").arg(folder),
                            cd.failure);
    if (const LineResult rm = shell->run(QStringLiteral("rm -f ") + shellQuote(reportFileName));
        !rm.ok())
        return sessionBroke(QStringLiteral("could not remove the last report"), rm.failure);

    while (lstCommands.size() > 1) {
        if (const LineResult line = shell->run(lstCommands.first()); !line.ok())
            return sessionBroke(QStringLiteral("the request could not be written"), line.failure);
        lstCommands.removeFirst();
    }

    const int deadline = reportDeadlineSec();
    const LineResult ran = shell->run(lstCommands.first(), deadline);
    if (!ran.ok()) {
        shell->close();
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
