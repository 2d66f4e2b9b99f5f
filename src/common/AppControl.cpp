#include "common/AppControl.h"

#include <QApplication>
#include <QWidget>

namespace quillon {

namespace {
bool g_endRequested = false;
}

void endProgram() {
    g_endRequested = true;
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
    QCoreApplication::exit(0);
}

bool programEndRequested() { return g_endRequested; }
void resetProgramEnd() { g_endRequested = false; }

}  // namespace quillon
