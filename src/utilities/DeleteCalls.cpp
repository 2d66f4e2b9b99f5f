#include "utilities/DeleteCalls.h"

#include "common/TextFormats.h"

namespace quillon {

const std::array<DeleteCallsKind, kDeleteCallsKinds>& deleteCallsKinds() {
    static const std::array<DeleteCallsKind, kDeleteCallsKinds> kinds{{
        {QStringLiteral("Line Type"), QStringLiteral("lt.csv"), QStringLiteral("Add Line Type"),
         QStringLiteral("Selected Line Types"), QStringLiteral("chkline"), true,
         QStringLiteral("line"), QStringLiteral("line type"), QStringLiteral("line types")},
        {QStringLiteral("Extension"), QStringLiteral("ext.csv"), QStringLiteral("Add Extension"),
         QStringLiteral("Selected Extension"), QStringLiteral("chkext"), false,
         QStringLiteral("ext"), QStringLiteral("extension"), QStringLiteral("extensions")},
        {QStringLiteral("Department"), QStringLiteral("dpt.csv"), QStringLiteral("Add Department"),
         QStringLiteral("Selected Department"), QStringLiteral("chkdpt"), true,
         QStringLiteral("dpt"), QStringLiteral("department"), QStringLiteral("departments")},
        {QStringLiteral("Division"), QStringLiteral("div.csv"), QStringLiteral("Add Division"),
         QStringLiteral("Selected Division"), QStringLiteral("chkdiv"), true, QStringLiteral("div"),
         QStringLiteral("division"), QStringLiteral("divisions")},
    }};
    return kinds;
}

QStringList deleteCallsRecords(const QString& word, const QStringList& keys, const QDate& before,
                               const QTime& beforeTime) {
    const QString moment = before.toString(QStringLiteral("MMddyy")) + QLatin1Char(',') +
                           beforeTime.toString(QStringLiteral("HHmm"));
    QStringList records;
    for (int i = 0; i < keys.size(); ++i)
        records << QStringLiteral("%1,deletecalls,%2,%3,%4").arg(i + 1).arg(word, keys[i], moment);
    return records;
}

QString deleteCallsQuestion(const QString& date, const QString& time, const DeleteCallsKind& kind,
                            int items, bool all) {
    QString which;
    if (all)
        which = QStringLiteral("all ") + kind.plural;
    else
        which = QStringLiteral("%1 %2").arg(items).arg(items == 1 ? kind.singular : kind.plural);
    return QStringLiteral("Are you sure you want to delete calls before ") + date +
           QStringLiteral("and ") + time + QStringLiteral("?") + kCrLf +
           QStringLiteral("The calls of %1 will be deleted. This cannot be undone.").arg(which) +
           kCrLf;
}

}  // namespace quillon
