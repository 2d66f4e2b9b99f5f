#include "common/AppControl.h"
#include "platform/SystemInfo.h"
#include "startup/frmSplash.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    // The main window is created hidden during start-up; the program ends when the last window
    // the user can see is closed (the splash window when KTReports.ini is missing).
    QApplication::setQuitOnLastWindowClosed(true);
    platform::SystemInfo::initFromArguments(QApplication::arguments());

    (new quillon::frmSplash)->show();
    quillon::setMainLoopRunning(true);
    return app.exec();
}
