#include "app/WindowTable.h"
#include "common/Messages.h"
#include "menu/MainMenu.h"
#include "platform/SystemInfo.h"
#include "widgets/AppControl.h"
#include "widgets/WaitGuard.h"
#include "widgets/WindowRegistry.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(quillon::programName(false));
    // The main window is created hidden during start-up; the program ends when the last window
    // the user can see is closed (the splash window when KTReports.ini is missing).
    QApplication::setQuitOnLastWindowClosed(true);
    platform::SystemInfo::initFromArguments(QApplication::arguments());
    quillon::registerWindows();
    quillon::installMainMenu();
    quillon::installWaitGuard();

    if (QWidget* splash = quillon::createWindow(QStringLiteral("frmSplash"), nullptr))
        splash->show();
    quillon::setMainLoopRunning(true);
    return app.exec();
}
