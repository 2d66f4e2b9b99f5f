#include "widgets/MainWindowPort.h"

namespace quillon {

namespace {
MainWindowPort* g_port = nullptr;
}  // namespace

MainWindowPort* MainWindowPort::instance() {
    return g_port;
}

void MainWindowPort::install(MainWindowPort* port) {
    g_port = port;
}

}  // namespace quillon
