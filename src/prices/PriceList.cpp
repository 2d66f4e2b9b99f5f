#include "prices/PriceList.h"

#include "common/CommonFunctions.h"
#include "common/SiteContext.h"
#include "common/TableMirror.h"
#include "common/TextFormats.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace quillon {

namespace {

const QString kRateFile = QStringLiteral("rate.csv");
const QString kCalcFile = QStringLiteral("calc.csv");
const QString kCcFile = QStringLiteral("cc.csv");

struct Category {
    int guestRow;
    const char* name;
};
// The Admin row of each is the Guest row plus kAdminRowOffset.
constexpr Category kCategories[] = {
    {235, "Interstate"},
    {239, "Canada"},
    {240, "Toll Free"},
    {241, "900 Calls"},
    {245, "Local Information"},
    {246, "Intrastate Information"},
    {247, "LD Information"},
    {248, "911"},
    {250, "Local"},
    {252, "IntraState"},
};

// The integer part, rounded down, of a field that reads as a number.
std::optional<int> rowNumber(const QString& field) {
    if (!isNumberText(field)) return std::nullopt;
    const double value = std::floor(field.trimmed().toDouble());
    if (!std::isfinite(value) || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

// One table's lines that hold at least `fields` fields whose `numbers` read as numbers, and,
// when field 0 is the row number (`byRow`), where each row stands: a row number given twice
// keeps its first line.
struct Table {
    QList<QStringList> rows;
    QHash<int, qsizetype> byRow;
};

Table readTable(const QByteArray& bytes, const QString& file, int fields, QList<int> numbers,
                bool byRow, QStringList& skipped) {
    Table table;
    const QStringList lines = splitTextLines(platform::fromCp1252(bytes));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty()) continue;
        const QString where = QStringLiteral("%1 line %2 skipped: ").arg(file).arg(i + 1);
        QStringList row = SplitCsvLine(lines[i]);
        if (row.size() < fields) {
            skipped << where + QStringLiteral("%1 fields, %2 needed").arg(row.size()).arg(fields);
            continue;
        }
        const auto notNumber = [&](int f) { return !rowNumber(row[f]); };
        if (const auto bad = std::find_if(numbers.begin(), numbers.end(), notNumber);
            bad != numbers.end()) {
            skipped << where + QStringLiteral("field %1 \"%2\" is not a number")
                                   .arg(*bad + 1)
                                   .arg(row[*bad]);
            continue;
        }
        if (byRow) {
            const int key = *rowNumber(row[0]);
            if (table.byRow.contains(key)) {
                skipped << where + QStringLiteral("row %1 stands on an earlier line").arg(key);
                continue;
            }
            table.byRow.insert(key, table.rows.size());
        }
        table.rows << row;
    }
    return table;
}

const QStringList* findRow(const Table& table, int row) {
    const auto it = table.byRow.constFind(row);
    return it == table.byRow.cend() ? nullptr : &table.rows.at(*it);
}

QStringList priceCells(const QString& name, const QStringList& rate, const QStringList& calc) {
    using namespace calcfield;
    return {name,
            calc[Ddit],
            rate[ratefield::Oaic],
            calc[Ddat],
            rate[ratefield::Oaac],
            rate[ratefield::Markup],
            calc[Pmkup],
            calc[Fmkup],
            calc[Ptax],
            calc[Thres],
            calc[Grace],
            calc[Flag],
            calc[Br],
            calc[Row]};
}

PriceLine priceLine(const QString& name, const QStringList& rate, const QStringList& calc) {
    return {priceCells(name, rate, calc), rate.mid(0, kRateFields), calc.mid(0, kCalcFields)};
}

void buildDomestic(PriceSet set, const Table& rate, const Table& calc, PriceList& out) {
    const int floorRow = set == PriceSet::Admin ? 230 + kAdminRowOffset : 230;
    for (const QStringList& r : rate.rows) {
        const int c = *rowNumber(r[ratefield::CalcRow]);
        if (c <= floorRow) continue;
        const QString category = priceCategory(c, set);
        if (category.isEmpty()) continue;
        const QStringList* calcRow = findRow(calc, c);
        if (!calcRow) {
            out.skipped << QStringLiteral("rate row %1 skipped: calc row %2 not found")
                               .arg(r[ratefield::Row])
                               .arg(c);
            continue;
        }
        out.lines << priceLine(category, r, *calcRow);
    }
}

void buildInternational(PriceSet set, const Table& rate, const Table& calc, const Table& cc,
                        PriceList& out) {
    for (const QStringList& country : cc.rows) {
        const int x = *rowNumber(country[3]);
        if (set == PriceSet::Guest && x >= 230) continue;
        const int r = set == PriceSet::Admin ? x + kAdminRowOffset : x;
        // The same row of both tables, whatever calc row the rate row names.
        const QStringList* rateRow = findRow(rate, r);
        const QStringList* calcRow = findRow(calc, r);
        if (!rateRow || !calcRow) {
            out.skipped << QStringLiteral("country %1 skipped: %2 row %3 not found")
                               .arg(country[1],
                                    rateRow ? QStringLiteral("calc") : QStringLiteral("rate"))
                               .arg(r);
            continue;
        }
        out.lines << priceLine(country[1], *rateRow, *calcRow);
    }
}

QByteArray readMirrorFile(const QString& fileName) {
    QFile file(siteTableFile(SiteContext::current().name(), fileName));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = file.readAll();
    // An empty file is a table without lines, not a missing one.
    if (bytes.isNull()) bytes = QByteArray("");
    return bytes;
}

}  // namespace

QString priceCategory(int calcRow, PriceSet set) {
    const int offset = set == PriceSet::Admin ? kAdminRowOffset : 0;
    for (const Category& c : kCategories)
        if (c.guestRow + offset == calcRow) return QString::fromLatin1(c.name);
    return {};
}

QStringList priceHeaders(PriceListKind kind, PriceSet set) {
    const bool international = kind == PriceListKind::International;
    // Spelled as the system spells them; only the international Admin list has "Initial".
    return {international ? QStringLiteral("Country") : QStringLiteral("Catagory"),
            international && set == PriceSet::Admin ? QStringLiteral("Initial period")
                                                    : QStringLiteral("Initail period"),
            QStringLiteral("Initial Cost"),
            QStringLiteral("Additional Time"),
            QStringLiteral("Additional Cost"),
            QStringLiteral("Surcharge"),
            QStringLiteral("% Markup"),
            QStringLiteral("Fixed Markup"),
            QStringLiteral("Tax"),
            QStringLiteral("Threshold Time"),
            QStringLiteral("Grace"),
            QStringLiteral("Flag"),
            QStringLiteral("Break Row"),
            QString()};
}

PriceList buildPriceList(PriceListKind kind, PriceSet set, const PriceTables& tables) {
    PriceList out;
    out.headers = priceHeaders(kind, set);
    const bool international = kind == PriceListKind::International;
    QStringList missing;
    if (tables.rate.isNull()) missing << kRateFile;
    if (tables.calc.isNull()) missing << kCalcFile;
    if (international && tables.cc.isNull()) missing << kCcFile;
    if (!missing.isEmpty()) {
        out.problem = missingTableText(missing.join(QStringLiteral(", ")));
        return out;
    }
    const Table calc =
        readTable(tables.calc, kCalcFile, kCalcFields, {calcfield::Row}, true, out.skipped);
    if (international) {
        const Table rate =
            readTable(tables.rate, kRateFile, kRateFields, {ratefield::Row}, true, out.skipped);
        const Table cc = readTable(tables.cc, kCcFile, 4, {3}, false, out.skipped);
        buildInternational(set, rate, calc, cc, out);
    } else {
        const Table rate = readTable(tables.rate, kRateFile, kRateFields,
                                     {ratefield::Row, ratefield::CalcRow}, true, out.skipped);
        buildDomestic(set, rate, calc, out);
    }
    return out;
}

PriceTables readMirrorPriceTables(PriceListKind kind) {
    PriceTables tables;
    tables.rate = readMirrorFile(kRateFile);
    tables.calc = readMirrorFile(kCalcFile);
    if (kind == PriceListKind::International) tables.cc = readMirrorFile(kCcFile);
    return tables;
}

QString priceListCaption(PriceListKind kind, PriceSet set) {
    return (kind == PriceListKind::Domestic ? QStringLiteral("Domestic ")
                                            : QStringLiteral("International ")) +
           (set == PriceSet::Admin ? QStringLiteral("Admin") : QStringLiteral("Guest")) +
           QStringLiteral(" Pricing");
}

PriceEdit shownPrices(const PriceLine& line) {
    const QStringList& c = line.cells;
    return {c.value(1), c.value(2), c.value(3), c.value(4), c.value(5),
            c.value(6), c.value(7), c.value(8), c.value(9)};
}

QStringList priceChangeRecords(const PriceLine& line, const PriceEdit& edit) {
    using namespace calcfield;
    const QStringList rate = line.rateFields.mid(0, kRateFields);
    const QStringList calc = line.calcFields.mid(0, kCalcFields);
    const QString comma = QStringLiteral(",");
    const QStringList newRate{
        rate.value(ratefield::Row),    edit.oaic, edit.oaac, edit.oaic, edit.oaac, edit.markup,
        rate.value(ratefield::CalcRow)};
    const QStringList newCalc{calc.value(Row),   edit.pmkup, edit.fmkup,       edit.ptax,
                              calc.value(Grace), edit.thres, edit.ddit,        edit.ddat,
                              edit.ddit,         edit.ddat,  calc.value(Flag), calc.value(Br)};
    // The line ends in two blanks after the last value, as the server's reader expects.
    return {QStringLiteral("1,mod,rate,") + rate.join(comma) + comma + newRate.join(comma) +
                QStringLiteral("  "),
            QStringLiteral("2,mod,calc,") + calc.join(comma) + comma + newCalc.join(comma) +
                QStringLiteral("  ")};
}

namespace {
bool sameValue(const QString& a, const QString& b) {
    if (isNumberText(a) && isNumberText(b)) return a.trimmed().toDouble() == b.trimmed().toDouble();
    return a == b;
}
}  // namespace

QStringList differingHalves(const PriceLine& line) {
    struct Pair {
        const char* label;
        const QStringList& fields;
        int directDialled;
        int operatorAssisted;
    };
    const Pair pairs[] = {
        {"Initial Time Period", line.calcFields, calcfield::Ddit, calcfield::Oait},
        {"Initial Cost", line.rateFields, ratefield::Ddic, ratefield::Oaic},
        {"Additional Time Period", line.calcFields, calcfield::Ddat, calcfield::Oaat},
        {"Additional Cost", line.rateFields, ratefield::Ddac, ratefield::Oaac},
    };
    QStringList out;
    for (const Pair& p : pairs) {
        const QString dd = p.fields.value(p.directDialled);
        const QString oa = p.fields.value(p.operatorAssisted);
        if (!sameValue(dd, oa))
            out << QStringLiteral("%1: direct-dialled %2, operator-assisted %3")
                       .arg(QString::fromLatin1(p.label), dd, oa);
    }
    return out;
}

}  // namespace quillon
