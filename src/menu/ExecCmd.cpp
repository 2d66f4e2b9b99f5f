#include "menu/ExecCmd.h"

#include "menu/fMain.h"
#include "platform/DocumentViewer.h"

#include <QProcess>
#include <QStringList>

namespace quillon {

QString commandLineWord(const QString& text) {
    // QProcess::splitCommand reads three quotes inside a quoted word as one literal quote.
    QString word = text;
    word.replace(QLatin1Char('"'), QStringLiteral("\"\"\""));
    return QLatin1Char('"') + word + QLatin1Char('"');
}

void ExecCmd(fMain& main, const QString& cmdline) {
    main.showStatus(QStringLiteral("Running ") + QStringLiteral(" Report") + QStringLiteral("..."));
    // A command that cannot start has nothing to wait for.
    const QStringList parts = QProcess::splitCommand(cmdline);
    if (!parts.isEmpty())
        platform::DocumentViewer::instance().runAndWait(parts.first(), parts.mid(1));
    main.showStatus(main.statusText() + QStringLiteral("Done."));
}

}  // namespace quillon
