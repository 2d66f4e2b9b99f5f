#include "remote/ServerSteps.h"

#include "remote/SessionError.h"

#include <memory>

namespace quillon {

namespace {

LineResult runStep(ServerShell& shell, const ServerStep& step) {
    switch (step.kind) {
        case ServerStep::Kind::Plain:
        case ServerStep::Kind::BestEffort:
            return shell.run(step.line, step.deadlineSec);
        case ServerStep::Kind::Checked:
            return shell.runChecked(step.line, step.deadlineSec);
        case ServerStep::Kind::Folder:
            return shell.changeFolder(step.line, step.deadlineSec);
        case ServerStep::Kind::BareFolder:
            return changeFolderAsWritten(shell, step.line, step.deadlineSec);
    }
    return {};
}

}  // namespace

StepsRun runServerSteps(ServerShell& shell, const QList<ServerStep>& steps,
                        const StepsOptions& options) {
    StepsRun out;
    for (int i = 0; i < steps.size(); ++i) {
        const ServerStep& step = steps.at(i);
        out.failedStep = i;
        if (options.cancelled && options.cancelled()) {
            out.failure = {kSessionCancelled, cancelledWaitText(QStringLiteral("The work")),
                           step.line};
            return out;
        }
        const LineResult r = runStep(shell, step);
        out.reply = r.reply;
        out.status = r.status;
        if (r.ok()) continue;
        if (options.log) options.log(step.line + QStringLiteral(": ") + r.failure.text);
        if (step.kind == ServerStep::Kind::BestEffort && r.failure.code == kSessionTimedOut)
            continue;
        out.failure = r.failure;
        // The user ended the wait: told as cancelled, not as a failed step.
        if (out.failure.code != kSessionCancelled)
            out.failure.text = failureText(r.failure, step.what);
        return out;
    }
    out.failedStep = int(steps.size());
    return out;
}

StepsRun runServerSteps(const ShellRequest& request, const QList<ServerStep>& steps,
                        const StepsOptions& options) {
    StepsRun out;
    const std::unique_ptr<ServerShell> shell =
        ServerWork::instance().openShell(request, out.failure);
    if (!shell) return out;
    out = runServerSteps(*shell, steps, options);
    shell->close();
    return out;
}

QString failureText(const ServerFailure& failure, const QString& what) {
    QString text = failure.text;
    if (!failure.line.isEmpty() && !text.contains(failure.line))
        text += QStringLiteral("\r\n(the line was: %1)").arg(failure.line);
    return what.isEmpty() ? text : what + QStringLiteral(".\r\n\r\n") + text;
}

}  // namespace quillon
