#include "widgets/AppControl.h"

#include <QApplication>
#include <QWidget>

namespace quillon {

namespace {
bool g_endRequested = false;
bool g_mainLoopRunning = false;
}  // namespace

void endProgram() {
    g_endRequested = true;
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
    if (g_mainLoopRunning) QCoreApplication::exit(0);
}

bool programEndRequested() { return g_endRequested; }
void resetProgramEnd() { g_endRequested = false; }
void setMainLoopRunning(bool running) { g_mainLoopRunning = running; }

}  // namespace quillon
