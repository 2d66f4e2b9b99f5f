#include "platform/FileLookup.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString findFileNoCase(const QString& folder, const QString& name) {
    if (name.isEmpty()) return {};
    QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    if (QFileInfo::exists(dir.filePath(name))) return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
    return {};
}

QString resolveNoCase(const QString& base, const QString& relative) {
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString current = base;
    const QStringList parts = rel.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QString found = findFileNoCase(current, part);
        current = found.isEmpty() ? current + QLatin1Char('/') + part : found;
    }
    return current;
}

}  // namespace platform
