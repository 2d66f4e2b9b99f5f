#include "rates/AreaCodes.h"

#include "common/SiteContext.h"
#include "common/TableMirror.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace quillon {

std::optional<long long> integerPart(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > 1e15) return std::nullopt;
    return static_cast<long long>(std::floor(value));
}

QString RateClass(const QString& rateNumber) {
    const std::optional<long long> n = integerPart(rateNumber);
    if (!n) return {};
    if (*n >= 2 && *n <= 223) return QStringLiteral("International");
    switch (*n) {
        case 235:
            return QStringLiteral("Interstate");
        case 240:
            return QStringLiteral("Toll Free");
        case 245:
            return QStringLiteral("Local Information");
        case 246:
            return QStringLiteral("Intrastate Information");
        case 247:
            return QStringLiteral("LD Information");
        case 248:
            return QStringLiteral("900 Calls");
        case 250:
            return QStringLiteral("Local");
        case 252:
            return QStringLiteral("Intrastate");
        default:
            return {};
    }
}

const QList<RateChoice>& modifyRateChoices() {
    static const QList<RateChoice> choices{
        {QStringLiteral("Intrastate"), QStringLiteral("252")},
        {QStringLiteral("Local"), QStringLiteral("250")},
        {QStringLiteral("Interstate"), QStringLiteral("235")},
        {QStringLiteral("Toll Free"), QStringLiteral("240")},
        {QStringLiteral("Local Information"), QStringLiteral("245")},
        {QStringLiteral("Intrastate Information"), QStringLiteral("246")},
        {QStringLiteral("LD Information"), QStringLiteral("247")},
        {QStringLiteral("900 Calls"), QStringLiteral("248")},
    };
    return choices;
}

const QList<RateChoice>& addRateChoices() {
    static const QList<RateChoice> choices{
        {QStringLiteral("Intrastate"), QStringLiteral("252")},
        {QStringLiteral("Local"), QStringLiteral("250")},
        {QStringLiteral("Interstate"), QStringLiteral("235")},
        {QStringLiteral("Toll Free"), QStringLiteral("240")},
        {QStringLiteral("Local Information"), QStringLiteral("245")},
        {QStringLiteral("Intrastate Information"), QStringLiteral("246")},
        {QStringLiteral("LD Information"), QStringLiteral(" 247")},
        {QStringLiteral("900 Calls"), QStringLiteral(" 248")},
        {QStringLiteral("911"), QStringLiteral(" 240")},
    };
    return choices;
}

std::optional<QString> rateForChoice(const QList<RateChoice>& choices, const QString& text) {
    for (const RateChoice& c : choices)
        if (c.text == text) return c.rate;
    return std::nullopt;
}

QList<QStringList> LdTables::loadLd(QString* problem) {
    const QString site = SiteContext::current().name();
    return readTableRecords(siteTableFile(site, QStringLiteral("ld.csv")), kLdFields, problem);
}

LdTables LdTables::load() {
    const QString site = SiteContext::current().name();
    LdTables t;
    QString problem;
    t.ld = loadLd(&problem);
    if (!problem.isEmpty()) t.problems << problem;
    t.rate =
        readTableRecords(siteTableFile(site, QStringLiteral("rate.csv")), kRateFields, &problem);
    if (!problem.isEmpty()) t.problems << problem;
    t.calc =
        readTableRecords(siteTableFile(site, QStringLiteral("calc.csv")), kCalcFields, &problem);
    if (!problem.isEmpty()) t.problems << problem;
    return t;
}

QStringList ldGridRow(const QStringList& record) {
    return {record.value(0), record.value(1), record.value(2),
            record.value(3), record.value(5), RateClass(record.value(5))};
}

bool LdFilter::keeps(const QStringList& record) const {
    if (byAreaCode && record.value(1) != areaCode) return false;
    if (byPrefix && record.value(2) != prefix) return false;
    return true;
}

int rowByNumber(const QList<QStringList>& rows, const QString& number) {
    const std::optional<long long> wanted = integerPart(number);
    if (!wanted) return -1;
    for (int i = 0; i < rows.size(); ++i)
        if (integerPart(rows[i].value(0)) == wanted) return i;
    return -1;
}

RateRows rateRows(const LdTables& tables, const QString& rateNumber) {
    RateRows rows;
    rows.rate = rowByNumber(tables.rate, rateNumber);
    if (rows.rate >= 0) rows.calc = rowByNumber(tables.calc, tables.rate[rows.rate].value(6));
    return rows;
}

QString ldModifyRecord(const LdRow& old, const LdRow& changed) {
    return QStringList{QStringLiteral("1"),  QStringLiteral("mod"),
                       QStringLiteral("ld"), old.areaCode,
                       old.prefix,           old.name,
                       QStringLiteral("1"),  old.rate,
                       changed.areaCode,     changed.prefix,
                       changed.name,         QStringLiteral("1"),
                       changed.rate}
        .join(QLatin1Char(','));
}

QString ldAddRecord(const LdRow& row) {
    static const QRegularExpression blanks(QStringLiteral(" {2,}"));
    QString record = QStringList{QStringLiteral("1"),  QStringLiteral("add"),
                                 QStringLiteral("ld"), row.areaCode,
                                 row.prefix,           row.name,
                                 QStringLiteral("1"),  row.rate}
                         .join(QLatin1Char(','));
    return record.replace(blanks, QStringLiteral(" "));
}

}  // namespace quillon
