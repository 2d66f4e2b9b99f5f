#include "platform/SystemInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcessEnvironment>
#include <QStringList>

#include <unistd.h>

namespace platform {

namespace {
QString g_programFolder;
QString g_nameOverride;
}  // namespace

QString SystemInfo::computerNameFrom(const QString& hostName) {
    QString name = hostName.section(QLatin1Char('.'), 0, 0).toUpper();
    for (QChar& c : name) {
        const bool ok = (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                        (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-');
        if (!ok) c = QLatin1Char('-');
    }
    // The name starts the file names given to the server's programs as arguments, where a
    // leading '-' would be read as an option.
    qsizetype dashes = 0;
    while (dashes < name.size() && name.at(dashes) == QLatin1Char('-')) ++dashes;
    name = name.mid(dashes).left(15);
    if (name.isEmpty()) name = QStringLiteral("PC");
    return name;
}

QString SystemInfo::computerName() {
    if (!g_nameOverride.isEmpty()) return computerNameFrom(g_nameOverride);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0) return computerNameFrom(QString());
    return computerNameFrom(QString::fromLocal8Bit(host));
}

void SystemInfo::setComputerNameOverride(const QString& name) {
    g_nameOverride = name;
}

QString SystemInfo::programFolder() {
    if (g_programFolder.isEmpty()) {
        const QString env =
            QProcessEnvironment::systemEnvironment().value(QStringLiteral("QUILLON_HOME"));
        if (!env.isEmpty())
            g_programFolder = QDir(env).absolutePath();
        else if (QCoreApplication::instance())
            g_programFolder = QCoreApplication::applicationDirPath();
        else
            g_programFolder = QDir::currentPath();
    }
    return g_programFolder;
}

void SystemInfo::setProgramFolder(const QString& folder) {
    g_programFolder = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

void SystemInfo::initFromArguments(const QStringList& arguments) {
    const int i = arguments.indexOf(QStringLiteral("--home"));
    if (i >= 0 && i + 1 < arguments.size()) {
        setProgramFolder(arguments.at(i + 1));
        return;
    }
    const QString env =
        QProcessEnvironment::systemEnvironment().value(QStringLiteral("QUILLON_HOME"));
    if (!env.isEmpty()) setProgramFolder(env);
}

QString SystemInfo::path(const QString& relative) {
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rel.startsWith(QLatin1Char('/'))) rel.remove(0, 1);
    return programFolder() + QLatin1Char('/') + rel;
}

}  // namespace platform
