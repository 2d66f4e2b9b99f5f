#include "remote/CheckedLines.h"

#include "remote/ServerWork.h"

#include <QRegularExpression>

namespace quillon {

namespace {

// The status echo comes last; a command's output without a final line break runs into it.
const QRegularExpression& statusPattern() {
    static const QRegularExpression re(QStringLiteral("rc=(\\d+)\\s*$"));
    return re;
}

// A reply shown to the user stays short; the debug log has it whole.
QString shortened(const QString& text) {
    constexpr int kMax = 200;
    QString one = text.simplified();
    if (one.size() > kMax) one = one.left(kMax) + QStringLiteral("...");
    return one;
}

}  // namespace

QString withExitStatus(const QString& line) {
    return line + QStringLiteral("; echo \"rc=$?\"");
}

QString withoutStatusCheck(const QString& text) {
    return QString(text).remove(withExitStatus(QString()));
}

std::optional<int> exitStatusOf(const QString& reply) {
    const QRegularExpressionMatch m = statusPattern().match(reply);
    if (!m.hasMatch()) return std::nullopt;
    bool ok = false;
    const int status = m.captured(1).toInt(&ok);
    if (!ok) return std::nullopt;
    return status;
}

QString outputBeforeStatus(const QString& reply) {
    const QRegularExpressionMatch m = statusPattern().match(reply);
    return m.hasMatch() ? reply.left(m.capturedStart()) : reply;
}

QString replyWithoutStatus(const QString& reply) {
    return outputBeforeStatus(reply).trimmed();
}

QString checkedLineProblem(const QString& reply) {
    const std::optional<int> status = exitStatusOf(reply);
    if (!status) return QStringLiteral("the server gave no exit status");
    if (*status == 0) return QString();
    const QString said = replyWithoutStatus(reply);
    return said.isEmpty() ? QStringLiteral("exit status %1").arg(*status) : shortened(said);
}

bool CheckedRun::allOk() const {
    if (!error.isEmpty()) return false;
    for (const LineOutcome& o : lines)
        if (!o.ok) return false;
    return true;
}

CheckedRun runCheckedLines(const ShellRequest& request, const QStringList& lines, int timeoutSec) {
    CheckedRun run;
    ServerFailure failure;
    const std::unique_ptr<ServerShell> shell = ServerWork::instance().openShell(request, failure);
    if (!shell) {
        run.error = failure.text;
        run.code = failure.code;
        return run;
    }
    for (const QString& line : lines) {
        LineOutcome o;
        o.line = line;
        if (!shell->isOpen()) {
            o.problem = QStringLiteral("not sent, the connection was lost");
            run.lines << o;
            continue;
        }
        const LineResult r = shell->runChecked(line, timeoutSec);
        o.ok = r.ok();
        o.problem = r.failure.text;
        if (run.code == kSessionOk || r.failure.code == kSessionCancelled)
            run.code = r.failure.code;
        run.lines << o;
    }
    shell->close();
    return run;
}

QString failureLines(const CheckedRun& run, const std::function<QString(int)>& label) {
    QString text;
    for (int i = 0; i < run.lines.size(); ++i)
        if (!run.lines[i].ok)
            text += QStringLiteral("\r\n") + label(i) + QStringLiteral(": ") + run.lines[i].problem;
    return text;
}

}  // namespace quillon
