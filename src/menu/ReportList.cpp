#include "menu/ReportList.h"

#include "common/ShellQuote.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QRegularExpression>

namespace quillon {

QStringList reportListLines(const QString& sshUser) {
    const QString user = shellQuote(sshUser);
    return {QStringLiteral("sudo chgrp ") + user + QStringLiteral(" reports.txt"),
            QStringLiteral("sudo chown ") + user + QStringLiteral(" reports.txt"),
            QStringLiteral("sudo chmod 666 reports.txt"),
            QStringLiteral("sudo ls -1 *.rep > reports.txt")};
}

bool isListedReportName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1String(".."));
}

bool readReportList(const QString& path, QStringList* names) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n"));
    for (const QString& line : platform::fromCp1252(file.readAll()).split(lineEnd))
        if (isListedReportName(line)) *names << line;
    return true;
}

}  // namespace quillon
