#pragma once
// The price lists as data: the domestic list (one line per price category of the rate table,
// priced by the calculation row the rate row names) and the international list (one line per
// country of the country-code table, priced by the rate and calculation rows of the country's
// row number), for the Guest or the Admin price set, built from the text of the mirror's
// rate.csv, calc.csv and cc.csv. Rows are found by their row field, never by their place in the
// file. Every line keeps the stored rate and calculation rows behind it, which the modify forms
// send as the old values. No widgets.
#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

namespace quillon {

enum class PriceSet { Guest, Admin };
enum class PriceListKind { Domestic, International };

// An Admin row is its Guest row plus this.
inline constexpr int kAdminRowOffset = 256;

// The grid's columns.
inline constexpr int kPriceColumns = 14;
// Grace, flag, break row and the calculation row's number: carried, never shown.
inline const QList<int> kHiddenPriceColumns{10, 11, 12, 13};
// The fields of a rate row (row, OAIC, OAAC, DDIC, DDAC, MARKUP, calc row) and of a calculation
// row (row, pmkup, fmkup, ptax, grace, thres, ddit, ddat, oait, oaat, flag, br).
inline constexpr int kRateFields = 7;
inline constexpr int kCalcFields = 12;
namespace ratefield {
enum { Row, Oaic, Oaac, Ddic, Ddac, Markup, CalcRow };
}
namespace calcfield {
enum { Row, Pmkup, Fmkup, Ptax, Grace, Thres, Ddit, Ddat, Oait, Oaat, Flag, Br };
}

// One line of a price list.
struct PriceLine {
    QStringList cells;       // the grid's 14 cells, each the field's text unchanged
    QStringList rateFields;  // the stored rate row, as read
    QStringList calcFields;  // the stored calculation row, as read
};

struct PriceList {
    QStringList headers;  // the 14 headers (the last one empty)
    QList<PriceLine> lines;
    QStringList skipped;  // a line each for what was left out as malformed or not found (the log)
    QString problem;      // for the user: a table that is not on this computer
};

// The text of the three tables; a table that is missing is a null QByteArray.
struct PriceTables {
    QByteArray rate;
    QByteArray calc;
    QByteArray cc;
};

// The category a calculation row stands for in the set ("Local" for Guest row 250), or "".
QString priceCategory(int calcRow, PriceSet set);
QStringList priceHeaders(PriceListKind kind, PriceSet set);

PriceList buildPriceList(PriceListKind kind, PriceSet set, const PriceTables& tables);

// The current site's tables from the mirror (found without regard to case).
PriceTables readMirrorPriceTables(PriceListKind kind);

// The captions of the list windows: "Domestic Admin Pricing", "International Guest Pricing".
QString priceListCaption(PriceListKind kind, PriceSet set);

// The nine values a modify form lets the user change (the grid's columns 1 to 9).
struct PriceEdit {
    QString ddit, oaic, ddat, oaac, markup, pmkup, fmkup, ptax, thres;
};
// The edit of a line as shown, before the user changes anything.
PriceEdit shownPrices(const PriceLine& line);

// The two records of the change: 1,mod,rate,<stored rate row>,<rate row as changed> and
// 2,mod,calc,<stored calc row>,<calc row as changed>, each ending in two blanks. The row numbers,
// the rate row's calc row, grace, flag and break row stay as stored; each edited time and cost
// goes into both halves of its pair (ddit/oait, ddat/oaat, OAIC/DDIC, OAAC/DDAC).
QStringList priceChangeRecords(const PriceLine& line, const PriceEdit& edit);

// The pairs whose stored hidden half differs from the shown one, which a save overwrites:
// "Initial Cost: direct-dialled 0.15, operator-assisted 0.10", one entry each.
QStringList differingHalves(const PriceLine& line);

}  // namespace quillon

Q_DECLARE_METATYPE(quillon::PriceLine)
