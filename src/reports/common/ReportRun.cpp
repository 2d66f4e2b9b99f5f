#include "reports/common/ReportRun.h"

#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/Globals.h"
#include "common/ShellQuote.h"
#include "common/TextFormats.h"
#include "platform/SystemInfo.h"
#include "remote/RemoteSession.h"

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

    const SessionTarget target = shellTargetForSite(site);
    RemoteShellSession session;
    if (!session.connectToHost(target, G().g_FtpTimeout))
        return failed(
            Outcome::ConnectFailed,
            QStringLiteral("Could not connect to %1: %2").arg(target.host, session.errorString()));

    const QString folder = siteServerFolder(site, backupMode);
    const auto sessionBroke = [&](const QString& what) {
        const QString error = session.errorString();
        session.disconnect();
        return failed(Outcome::SessionFailed,
                      QStringLiteral("The report was not run: %1.\r\n\r\n%2").arg(what, error));
    };
    if (!session.changeFolder(folder))
        return sessionBroke(QStringLiteral("could not change to the folder %1").arg(folder));
    if (!session.execute(QStringLiteral("rm -f ") + shellQuote(reportFileName)))
        return sessionBroke(QStringLiteral("could not remove the last report"));

    while (lstCommands.size() > 1) {
        if (!session.execute(lstCommands.first()))
            return sessionBroke(QStringLiteral("the request could not be written"));
        lstCommands.removeFirst();
    }

    const int deadline = reportDeadlineSec();
    const auto ran = session.execute(lstCommands.first(), deadline);
    if (!ran) {
        const bool timedOut = session.errorCode() == kSessionTimedOut;
        const QString error = session.errorString();
        session.disconnect();
        if (timedOut)
            return failed(Outcome::TimedOut,
                          QStringLiteral("The report did not finish within %1. Nothing was "
                                         "fetched; please run it again later.")
                              .arg(durationText(deadline)));
        return failed(Outcome::SessionFailed,
                      QStringLiteral("The connection was lost while the report ran (%1). Nothing "
                                     "was fetched.")
                          .arg(error));
    }
    lstCommands.removeFirst();

    // The quotes keep the marker out of the line's own echo.
    const auto present = session.execute(QStringLiteral("test -f ") + shellQuote(reportFileName) +
                                         QStringLiteral(" && echo REPORT''_READY"));
    session.disconnect();
    if (!present)
        return failed(Outcome::SessionFailed,
                      QStringLiteral("The connection was lost after the report ran. "
                                     "Nothing was fetched."));
    if (!present->contains(QStringLiteral("REPORT_READY")))
        return failed(Outcome::NoReport,
                      QStringLiteral("The report program finished without writing %1. Nothing "
                                     "was fetched.")
                          .arg(reportFileName));
    return {Outcome::Done, QString()};
}

}  // namespace quillon
