#include "platform/DocumentViewer.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace platform {

namespace {
DocumentViewer* g_installed = nullptr;
}

DocumentViewer& DocumentViewer::instance() {
    static DesktopViewer desktop;
    return g_installed ? *g_installed : desktop;
}

void DocumentViewer::setInstance(DocumentViewer* viewer) { g_installed = viewer; }

bool DesktopViewer::open(const QString& path) {
    QString viewer = QProcessEnvironment::systemEnvironment().value(QStringLiteral("QUILLON_VIEWER"));
    if (viewer.isEmpty()) viewer = QStringLiteral("xdg-open");
    QStringList parts = QProcess::splitCommand(viewer);
    if (parts.isEmpty()) return false;
    QString program = parts.takeFirst();
    parts << path;
    return QProcess::startDetached(program, parts);
}

int DesktopViewer::runAndWait(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted()) return -1;
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace platform
