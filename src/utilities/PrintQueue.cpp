#include "utilities/PrintQueue.h"

#include "common/CommonFunctions.h"

#include <QRegularExpression>

namespace quillon {

namespace {
constexpr int kJobTextLength = 26;

bool isJobId(const QString& id) {
    static const QRegularExpression digits(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]+")));
    return digits.match(id).hasMatch();
}
}  // namespace

QStringList printListingLines(const QString& shellLogin) {
    return {QStringLiteral("sudo rm -f ") + kPrintListing,
            QStringLiteral("sudo lpq  >") + kPrintListing,
            QStringLiteral("sudo chgrp ") + shellLogin + QLatin1Char(' ') + kPrintListing,
            QStringLiteral("sudo chown ") + shellLogin + QLatin1Char(' ') + kPrintListing};
}

QList<SelectionEntry> parsePrintQueue(const QString& listing) {
    QList<SelectionEntry> jobs;
    int column = -1;  // 0-based start of the job part; -1 until the header is found
    for (const QString& raw : splitTextLines(listing)) {
        const QString line = raw.trimmed();
        if (line.isEmpty()) continue;
        if (column < 0) {
            if (line.startsWith(QLatin1String("Rank"))) column = line.indexOf(QLatin1String("Job"));
            continue;
        }
        const QString part = line.mid(column);
        const QString id = part.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        if (!isJobId(id)) continue;
        jobs << SelectionEntry{id, part.left(kJobTextLength).trimmed()};
    }
    return jobs;
}

QString printRemovalLine(const QString& jobId) {
    if (!isJobId(jobId)) return {};
    return QStringLiteral("sudo lprm ") + jobId;
}

}  // namespace quillon
