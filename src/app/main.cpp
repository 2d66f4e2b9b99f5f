#include "platform/SystemInfo.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    platform::SystemInfo::initFromArguments(QApplication::arguments());
    return 0;
}
