#include "remote/ServerWork.h"

#include "remote/SessionTexts.h"

#include "common/ShellQuote.h"
#include "remote/CheckedLines.h"
#include "remote/RealServerWork.h"
#include "remote/ShellLines.h"

namespace quillon {

ServerShell::~ServerShell() = default;
ServerFiles::~ServerFiles() = default;
ServerWork::~ServerWork() = default;
WaitCanceller::~WaitCanceller() = default;

CancelOffer::CancelOffer(WaitCanceller* canceller, ServerShell& shell) : m_canceller(canceller) {
    if (m_canceller) m_canceller->offer([&shell] { shell.cancel(); });
}

CancelOffer::CancelOffer(WaitCanceller* canceller, ServerFiles& files) : m_canceller(canceller) {
    if (m_canceller) m_canceller->offer([&files] { files.cancel(); });
}

CancelOffer::~CancelOffer() {
    if (m_canceller) m_canceller->withdraw();
}

QString cancelledWaitText(const QString& work) {
    return QStringLiteral("%1 was cancelled. The server may still finish the work.").arg(work);
}

QString noSuchRemoteFileText(const QString& remotePath) {
    return sessiontexts::fetchFailed(remotePath, sessiontexts::noSuchFile());
}

LineResult ServerShell::runChecked(const QString& line, int deadlineSec) {
    LineResult r = run(withExitStatus(line), deadlineSec);
    if (!r.ok()) {
        r.failure.line = line;
        r.failure.text = withoutStatusCheck(r.failure.text);
        return r;
    }
    const QString reply = r.reply;
    r.status = exitStatusOf(reply);
    r.reply = outputBeforeStatus(reply);
    if (const QString problem = checkedLineProblem(reply); !problem.isEmpty())
        r.failure = {kSessionFailed, problem, line};
    return r;
}

bool isMissingRemoteFile(const ServerFailure& failure) {
    return failure.code == kSessionFailed && failure.text.endsWith(QStringLiteral(": ") + sessiontexts::noSuchFile());
}

LineResult ServerShell::changeFolder(const QString& folder, int deadlineSec) {
    if (folder.isEmpty()) return {{kSessionFailed, noFolderText(), QString()}, QString(), {}};
    const QString line = changeFolderLine(folder);
    LineResult r = run(line, deadlineSec);
    if (!r.ok()) return r;
    if (const QString problem = changeFolderProblem(folder, r.reply); !problem.isEmpty())
        r.failure = {kSessionFailed, problem, line};
    return r;
}

LineResult changeFolderAsWritten(ServerShell& shell, const QString& folder, int deadlineSec) {
    if (!isSafeServerPath(folder) && !isSafeFileName(folder))
        return shell.changeFolder(folder, deadlineSec);
    const QString line = QStringLiteral("cd ") + folder;
    LineResult r = shell.run(line, deadlineSec);
    if (r.ok() && !r.reply.trimmed().isEmpty())
        r.failure = {kSessionFailed, r.reply.trimmed(), line};
    return r;
}

LineResult ServerShell::runQueue(QStringList& lines, int deadlineSec) {
    LineResult all;
    while (!lines.isEmpty()) {
        const LineResult r = run(lines.first(), deadlineSec);
        if (!r.ok()) {
            all.failure = r.failure;
            return all;
        }
        all.reply += r.reply;
        lines.removeFirst();
    }
    return all;
}

namespace {
ServerWork* g_installed = nullptr;
}  // namespace

ServerWork& ServerWork::instance() {
    static RealServerWork real;
    return g_installed ? *g_installed : real;
}

void ServerWork::install(ServerWork* work) {
    g_installed = work;
}

}  // namespace quillon
