// The price-list builder and the records of a price change, without windows: which rate lines
// and countries give a line, the values each line shows, rows found by their row field when the
// files do not stand in row order, what a malformed or missing table gives, and the two records
// of a change byte for byte.
#include "prices/PriceList.h"

#include "changes/ChangeRequest.h"

#include <gtest/gtest.h>

#include <QFile>

#include <functional>
#include <ostream>

using namespace quillon;

namespace {

// A calculation row whose values tell its number: pmkup = n, ddit = n + 1000, and so on.
QByteArray calcLine(int n) {
    return QStringLiteral("%1,%2,0.25,7.5,6,30,%3,%4,%3,%4,1,0\r\n")
        .arg(n)
        .arg(n % 100)
        .arg(n + 1000)
        .arg(n + 2000)
        .toLatin1();
}
QByteArray rateLine(int row, int calcRow, const QString& oaic = QString()) {
    const QString ic = oaic.isEmpty() ? QStringLiteral("0.%1").arg(row) : oaic;
    return QStringLiteral("%1,%2,0.05,%2,0.05,0.50,%3\r\n")
        .arg(row)
        .arg(ic)
        .arg(calcRow)
        .toLatin1();
}

// Calculation rows 1 to 520, in row order but for a block moved to the end: no line stands at
// its row number from 200 on.
QByteArray calcTable() {
    QByteArray out;
    for (int n = 1; n < 200; ++n) out += calcLine(n);
    for (int n = 260; n <= 520; ++n) out += calcLine(n);
    for (int n = 200; n < 260; ++n) out += calcLine(n);
    return out;
}

QStringList names(const PriceList& list) {
    QStringList out;
    for (const PriceLine& l : list.lines) out << l.cells.value(0);
    return out;
}

PriceList domestic(PriceSet set, const QByteArray& rate) {
    return buildPriceList(PriceListKind::Domestic, set, {rate, calcTable(), {}});
}

struct CategoryCase {
    const char* name;
    PriceSet set;
    int calcRow;
    QString category;  // "" for no line
};
void PrintTo(const CategoryCase& c, std::ostream* os) {
    *os << c.name;
}

class DomesticCategories : public ::testing::TestWithParam<CategoryCase> {};

TEST_P(DomesticCategories, ARateLineGivesTheLineOfItsCalcRow) {
    const CategoryCase& c = GetParam();
    const PriceList list = domestic(c.set, rateLine(600, c.calcRow));
    EXPECT_TRUE(list.problem.isEmpty());
    if (c.category.isEmpty()) {
        EXPECT_TRUE(list.lines.isEmpty()) << names(list).join(',').toStdString();
        return;
    }
    ASSERT_EQ(list.lines.size(), 1);
    EXPECT_EQ(list.lines[0].cells[0], c.category);
    EXPECT_EQ(list.lines[0].cells[13], QString::number(c.calcRow));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DomesticCategories,
    ::testing::Values(CategoryCase{"Guest230Excluded", PriceSet::Guest, 230, ""},
                      CategoryCase{"Admin486Excluded", PriceSet::Admin, 486, ""},
                      CategoryCase{"Guest236Unknown", PriceSet::Guest, 236, ""},
                      CategoryCase{"Admin492Unknown", PriceSet::Admin, 492, ""},
                      CategoryCase{"Guest239Canada", PriceSet::Guest, 239, "Canada"},
                      CategoryCase{"Admin495Canada", PriceSet::Admin, 495, "Canada"},
                      CategoryCase{"Guest252IntraState", PriceSet::Guest, 252, "IntraState"},
                      CategoryCase{"Guest246", PriceSet::Guest, 246, "Intrastate Information"},
                      CategoryCase{"AdminRowInTheGuestList", PriceSet::Guest, 491, ""},
                      CategoryCase{"GuestRowInTheAdminList", PriceSet::Admin, 235, ""},
                      CategoryCase{"Admin491Interstate", PriceSet::Admin, 491, "Interstate"}));

TEST(DomesticPriceList, EveryColumnComesFromItsFieldAndRowsAreFoundByNumber) {
    // Rate row 300 names calc row 250, which stands far from line 250 of the file.
    const PriceList list = domestic(PriceSet::Guest, rateLine(300, 250, "0.42"));
    ASSERT_EQ(list.lines.size(), 1);
    EXPECT_EQ(list.lines[0].cells, (QStringList{"Local", "1250", "0.42", "2250", "0.05", "0.50",
                                                "50", "0.25", "7.5", "30", "6", "1", "0", "250"}));
    EXPECT_EQ(list.lines[0].rateFields,
              (QStringList{"300", "0.42", "0.05", "0.42", "0.05", "0.50", "250"}));
    EXPECT_EQ(list.lines[0].calcFields.value(0), "250");
    EXPECT_EQ(list.lines[0].calcFields.size(), kCalcFields);
    EXPECT_EQ(list.headers,
              (QStringList{"Catagory", "Initail period", "Initial Cost", "Additional Time",
                           "Additional Cost", "Surcharge", "% Markup", "Fixed Markup", "Tax",
                           "Threshold Time", "Grace", "Flag", "Break Row", ""}));
}

TEST(DomesticPriceList, TwoRateLinesOfOneCalcRowGiveTwoLinesInFileOrder) {
    const PriceList list =
        domestic(PriceSet::Guest,
                 rateLine(250, 250, "0.10") + rateLine(240, 240) + rateLine(301, 250, "0.20"));
    EXPECT_EQ(names(list), (QStringList{"Local", "Toll Free", "Local"}));
    EXPECT_EQ(list.lines[0].cells[2], "0.10");
    EXPECT_EQ(list.lines[2].cells[2], "0.20");
    EXPECT_EQ(list.lines[0].cells.mid(6), list.lines[2].cells.mid(6));
    EXPECT_EQ(list.lines[0].rateFields[0], "250");
    EXPECT_EQ(list.lines[2].rateFields[0], "301");
}

TEST(DomesticPriceList, MalformedLinesAndRowsNotFoundAreSkippedAndLogged) {
    const QByteArray rate =
        "245,0.1,0.1,0.1,0.1,0\r\n"  // six fields
        "x,0.1,0.1,0.1,0.1,0,245\r\n"
        "246,0.1,0.1,0.1,0.1,0,abc\r\n"
        "\r\n" +
        rateLine(248, 248) + rateLine(249, 250) + rateLine(248, 250);
    QByteArray calc = calcLine(248) + "250,1,2\r\n";
    const PriceList list =
        buildPriceList(PriceListKind::Domestic, PriceSet::Guest, {rate, calc, {}});
    EXPECT_EQ(names(list), (QStringList{"911"}));
    EXPECT_TRUE(list.problem.isEmpty());
    EXPECT_EQ(list.skipped,
              (QStringList{"calc.csv line 2 skipped: 3 fields, 12 needed",
                           "rate.csv line 1 skipped: 6 fields, 7 needed",
                           "rate.csv line 2 skipped: field 1 \"x\" is not a number",
                           "rate.csv line 3 skipped: field 7 \"abc\" is not a number",
                           "rate.csv line 7 skipped: row 248 stands on an earlier line",
                           "rate row 249 skipped: calc row 250 not found"}))
        << list.skipped.join('\n').toStdString();
}

TEST(PriceList, AMissingTableGivesNoLinesAndAMessage) {
    const PriceList d =
        buildPriceList(PriceListKind::Domestic, PriceSet::Guest, {rateLine(250, 250), {}, {}});
    EXPECT_TRUE(d.lines.isEmpty());
    EXPECT_EQ(d.headers.size(), kPriceColumns);
    EXPECT_EQ(d.problem,
              "The table calc.csv is not on this computer. Choose the site again to "
              "fetch its tables.");
    const PriceList i = buildPriceList(PriceListKind::International, PriceSet::Admin,
                                       {rateLine(250, 250), calcTable(), {}});
    EXPECT_TRUE(i.problem.contains("cc.csv")) << i.problem.toStdString();
    // An empty file is a table without lines.
    const PriceList empty =
        buildPriceList(PriceListKind::Domestic, PriceSet::Guest, {QByteArray(""), calcTable(), {}});
    EXPECT_TRUE(empty.problem.isEmpty());
    EXPECT_TRUE(empty.lines.isEmpty());
}

// ---- international ----------------------------------------------------------------------------

const QByteArray kCountries =
    "44,United Kingdom,9,209\r\n"
    "49,Germany,9,210\r\n"
    "33,France,9,210\r\n"
    "81,Japan,9,231\r\n";

QByteArray internationalRates() {
    QByteArray out;
    for (int r : {209, 210, 231, 465, 466, 487}) out += rateLine(r, 5);  // calc rows elsewhere
    return out;
}

PriceList international(PriceSet set) {
    return buildPriceList(PriceListKind::International, set,
                          {internationalRates(), calcTable(), kCountries});
}

TEST(InternationalPriceList, TheRowOfACountryIsItsGuestRowOrThatPlus256) {
    const PriceList guest = international(PriceSet::Guest);
    const PriceList admin = international(PriceSet::Admin);
    EXPECT_EQ(names(guest), (QStringList{"United Kingdom", "Germany", "France"}));
    EXPECT_EQ(names(admin), (QStringList{"United Kingdom", "Germany", "France", "Japan"}));
    // Rate and calculation values of row 209 for Guest, 465 for Admin: the calc row the rate
    // row names (5) is not the one shown.
    EXPECT_EQ(guest.lines[0].cells,
              (QStringList{"United Kingdom", "1209", "0.209", "2209", "0.05", "0.50", "9", "0.25",
                           "7.5", "30", "6", "1", "0", "209"}));
    EXPECT_EQ(admin.lines[0].cells[1], "1465");
    EXPECT_EQ(admin.lines[0].cells[2], "0.465");
    EXPECT_EQ(admin.lines[0].cells[13], "465");
    EXPECT_EQ(admin.lines[0].rateFields[0], "465");
    EXPECT_EQ(admin.lines[3].cells[13], "487");
    // Two countries of one row: two lines of equal prices.
    EXPECT_EQ(guest.lines[1].cells.mid(1), guest.lines[2].cells.mid(1));
    EXPECT_EQ(guest.lines[1].cells[2], "0.210");
}

// The Guest list keeps rate rows below 230; the Admin list keeps every country.
TEST(InternationalPriceList, TheGuestRuleAtItsBoundary) {
    QByteArray rates;
    for (int r : {229, 230, 229 + kAdminRowOffset, 230 + kAdminRowOffset}) rates += rateLine(r, 5);
    QByteArray calc;
    for (int r : {229, 230, 229 + kAdminRowOffset, 230 + kAdminRowOffset})
        calc += QByteArray::number(r) + ",10,0.25,7.5,6,30,60,30,60,30,1,0\r\n";
    const QByteArray cc = "1,Below,9,229\r\n2,AtTheBound,9,230\r\n";
    EXPECT_EQ(names(buildPriceList(PriceListKind::International, PriceSet::Guest, {rates, calc, cc})),
              QStringList{"Below"});
    const PriceList admin =
        buildPriceList(PriceListKind::International, PriceSet::Admin, {rates, calc, cc});
    EXPECT_EQ(names(admin), (QStringList{"Below", "AtTheBound"}));
    ASSERT_EQ(admin.lines.size(), 2);
    EXPECT_EQ(admin.lines[1].cells[13], "486");
}

TEST(InternationalPriceList, TheFirstHeaderIsSpelledAsEachSetSpellsIt) {
    EXPECT_EQ(international(PriceSet::Admin).headers.mid(0, 2),
              (QStringList{"Country", "Initial period"}));
    EXPECT_EQ(international(PriceSet::Guest).headers.mid(0, 2),
              (QStringList{"Country", "Initail period"}));
    EXPECT_EQ(international(PriceSet::Guest).headers.mid(2),
              priceHeaders(PriceListKind::Domestic, PriceSet::Guest).mid(2));
}

TEST(InternationalPriceList, ACountryWithoutItsRowsIsSkippedAndLogged) {
    const PriceList list =
        buildPriceList(PriceListKind::International, PriceSet::Guest,
                       {rateLine(210, 210), calcTable(), kCountries + "1,Nowhere,9\r\n"});
    EXPECT_EQ(names(list), (QStringList{"Germany", "France"}));
    EXPECT_EQ(list.skipped,
              (QStringList{"cc.csv line 5 skipped: 3 fields, 4 needed",
                           "country United Kingdom skipped: rate row 209 not found"}));
}

// ---- the records of a change ----------------------------------------------------------------

PriceLine storedLine() {
    PriceLine line;
    line.rateFields = QStringList{"300", "0.15", "0.10", "0.15", "0.10", "0.50", "250"};
    line.calcFields =
        QStringList{"250", "10", "0.25", "7.5", "6", "30", "60", "30", "60", "30", "1", "0"};
    line.cells = QStringList{"Local", "60",  "0.15", "30", "0.10", "0.50", "10",
                             "0.25",  "7.5", "30",   "6",  "1",    "0",    "250"};
    return line;
}

const QString kRateOld = "1,mod,rate,300,0.15,0.10,0.15,0.10,0.50,250,";
const QString kCalcOld = "2,mod,calc,250,10,0.25,7.5,6,30,60,30,60,30,1,0,";

struct RecordCase {
    const char* name;
    std::function<void(PriceEdit&)> change;
    QStringList records;
};
void PrintTo(const RecordCase& c, std::ostream* os) {
    *os << c.name;
}

class ChangeRecords : public ::testing::TestWithParam<RecordCase> {};

TEST_P(ChangeRecords, HoldTheStoredRowThenTheChangedOne) {
    const RecordCase& c = GetParam();
    PriceEdit edit = shownPrices(storedLine());
    c.change(edit);
    const QStringList records = priceChangeRecords(storedLine(), edit);
    EXPECT_EQ(records.join('\n').toStdString(), c.records.join('\n').toStdString());
    // 17 and 27 fields.
    EXPECT_EQ(records.value(0).split(',').size(), 17);
    EXPECT_EQ(records.value(1).split(',').size(), 27);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ChangeRecords,
    ::testing::Values(RecordCase{"Unchanged",
                                 [](PriceEdit&) {},
                                 {kRateOld + "300,0.15,0.10,0.15,0.10,0.50,250  ",
                                  kCalcOld + "250,10,0.25,7.5,6,30,60,30,60,30,1,0  "}},
                      // Fields 12 and 14 of the rate record.
                      RecordCase{"InitialCost",
                                 [](PriceEdit& e) { e.oaic = "0.99"; },
                                 {kRateOld + "300,0.99,0.10,0.99,0.10,0.50,250  ",
                                  kCalcOld + "250,10,0.25,7.5,6,30,60,30,60,30,1,0  "}},
                      // Fields 23 and 25 of the calc record.
                      RecordCase{"AdditionalTimePeriod",
                                 [](PriceEdit& e) { e.ddat = "45"; },
                                 {kRateOld + "300,0.15,0.10,0.15,0.10,0.50,250  ",
                                  kCalcOld + "250,10,0.25,7.5,6,30,60,45,60,45,1,0  "}},
                      RecordCase{"InitialTimePeriod",
                                 [](PriceEdit& e) { e.ddit = "90"; },
                                 {kRateOld + "300,0.15,0.10,0.15,0.10,0.50,250  ",
                                  kCalcOld + "250,10,0.25,7.5,6,30,90,30,90,30,1,0  "}},
                      RecordCase{"EmptySurcharge",
                                 [](PriceEdit& e) { e.markup.clear(); },
                                 {kRateOld + "300,0.15,0.10,0.15,0.10,,250  ",
                                  kCalcOld + "250,10,0.25,7.5,6,30,60,30,60,30,1,0  "}},
                      RecordCase{"CalcValues",
                                 [](PriceEdit& e) {
                                     e.pmkup = "12";
                                     e.fmkup = "1.5";
                                     e.ptax = "8";
                                     e.thres = "15";
                                 },
                                 {kRateOld + "300,0.15,0.10,0.15,0.10,0.50,250  ",
                                  kCalcOld + "250,12,1.5,8,6,15,60,30,60,30,1,0  "}}));

TEST(ChangeRecords, TheOldHalfIsTheStoredRowWhereItsPairsDiffer) {
    PriceLine line = storedLine();
    line.rateFields[ratefield::Ddic] = "0.20";
    line.calcFields[calcfield::Oaat] = "45";
    const QStringList records = priceChangeRecords(line, shownPrices(line));
    EXPECT_EQ(records[0],
              "1,mod,rate,300,0.15,0.10,0.20,0.10,0.50,250,300,0.15,0.10,0.15,0.10,"
              "0.50,250  ");
    EXPECT_EQ(records[1],
              "2,mod,calc,250,10,0.25,7.5,6,30,60,30,60,45,1,0,250,10,0.25,7.5,6,30,"
              "60,30,60,30,1,0  ");
    EXPECT_EQ(differingHalves(line),
              (QStringList{"Initial Cost: direct-dialled 0.20, operator-assisted 0.15",
                           "Additional Time Period: direct-dialled 30, operator-assisted 45"}));
    // Equal numbers written differently are no difference.
    line = storedLine();
    line.rateFields[ratefield::Ddic] = "0.150";
    EXPECT_TRUE(differingHalves(line).isEmpty());
}

// The demo's tables (the stand-in server's): every line of every list can be saved as it
// stands, with no stored half that the save would overwrite and no value the form refuses.
TEST(DemoPriceTables, EveryLineSavesAsItStands) {
    const auto read = [](const char* name) {
        QFile f(QStringLiteral(QUILLON_SOURCE_DIR "/sim/fixtures/tables/") + QLatin1String(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        return f.readAll();
    };
    const PriceTables tables{read("rate.csv"), read("calc.csv"), read("cc.csv")};
    for (PriceListKind kind : {PriceListKind::Domestic, PriceListKind::International})
        for (PriceSet set : {PriceSet::Guest, PriceSet::Admin}) {
            const PriceList list = buildPriceList(kind, set, tables);
            EXPECT_FALSE(list.lines.isEmpty()) << priceListCaption(kind, set).toStdString();
            for (const PriceLine& line : list.lines) {
                const std::string where =
                    priceListCaption(kind, set).toStdString() + " " + line.cells.join(',').toStdString();
                EXPECT_EQ(differingHalves(line), QStringList()) << where;
                const PriceEdit shown = shownPrices(line);
                for (const QString& value : {shown.ddit, shown.oaic, shown.ddat, shown.oaac,
                                             shown.markup, shown.pmkup, shown.fmkup, shown.ptax,
                                             shown.thres})
                    EXPECT_EQ(amountProblem(QStringLiteral("value"), value), QString()) << where;
            }
        }
}

}  // namespace
