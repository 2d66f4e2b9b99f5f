#pragma once
// The area-code (LD) table and what leads from it: each row's readable rate class, the rate and
// calc rows a rate number names (looked up by their row-number field, never by line), the
// filter of the area-code window, the rate choices of the modify and add forms and their
// records. No widgets.
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

// The class text shown for a rate number: its integer part (rounded down) names it; "" for
// numbers of no class and for a text that is no number.
QString RateClass(const QString& rateNumber);

// The integer part of a cell read as a number (rounded down, unlike ProfileFile::wholeNumber,
// which rounds halves to even); nullopt when it is none.
std::optional<long long> integerPart(const QString& text);

// One entry of a rate list: what the user picks and the rate number it sends.
struct RateChoice {
    QString text;
    QString rate;
};
// The modify form's list: the eight classes of the area-code window (no "911").
const QList<RateChoice>& modifyRateChoices();
// The add form's list, as the system has it: nine entries, some numbers with a leading blank.
const QList<RateChoice>& addRateChoices();
// The rate of the entry whose text is exactly `text`; nullopt when none is.
std::optional<QString> rateForChoice(const QList<RateChoice>& choices, const QString& text);

// The three tables of the area-code window, as read from the mirror: ld.csv (6 fields),
// rate.csv (7) and calc.csv (12).
struct LdTables {
    static constexpr int kLdFields = 6;
    static constexpr int kRateFields = 7;
    static constexpr int kCalcFields = 12;

    QList<QStringList> ld;
    QList<QStringList> rate;
    QList<QStringList> calc;
    QStringList problems;  // for the user: files missing

    // The current site's files.
    static LdTables load();
    static QList<QStringList> loadLd(QString* problem);
};

// A grid row of the LD table from an ld.csv record: key, area code, prefix, location, rate
// number and its class.
QStringList ldGridRow(const QStringList& record);
inline const QStringList kLdHeaders{"Key Field", "Area Code",   "Prefix",
                                    "Location",  "Rate Number", "Rate"};
inline const QStringList kRateHeaders{"Row #", "OAIC",   "OAAC",    "DDIC",
                                      "DDAC",  "MARKUP", "Cacl Row"};
inline const QStringList kCalcHeaders{"Row #", "pmkup", "fmkup", "ptax", "grace", "thres",
                                      "ddit",  "ddat",  "oait",  "oaat", "flag",  "br"};

// The filter: a ticked filter keeps the records whose field equals the text exactly (no
// trimming, no numbers: "012" is not "12"; an empty text keeps the empty fields).
struct LdFilter {
    bool byAreaCode = false;
    QString areaCode;
    bool byPrefix = false;
    QString prefix;
    bool keeps(const QStringList& record) const;
};

// The index in `rows` of the row whose row-number field (its integer part) is `number`'s
// integer part; -1 when the number is none or no row has it.
int rowByNumber(const QList<QStringList>& rows, const QString& number);

// Where a rate number leads: its rate row and that row's calc row (indexes into the tables'
// lists, -1 when there is none).
struct RateRows {
    int rate = -1;
    int calc = -1;
};
RateRows rateRows(const LdTables& tables, const QString& rateNumber);

// The change records of the LD table.
struct LdRow {
    QString areaCode;
    QString prefix;
    QString name;
    QString rate;
};
// 1,mod,ld,<old: area,prefix,name,1,rate>,<new: area,prefix,name,1,rate> — 13 fields, the
// values as they stand.
QString ldModifyRecord(const LdRow& old, const LdRow& changed);
// 1,add,ld,<area>,<prefix>,<name>,1,<rate> — 8 fields, with every run of blanks one blank, as
// the server has always received this record.
QString ldAddRecord(const LdRow& row);

}  // namespace quillon
