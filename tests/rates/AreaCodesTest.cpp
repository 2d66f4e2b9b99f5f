// The LD table's logic without a window: the rate classes, the rows a rate number leads to when
// the rate and calc tables are not one row per line in order, the filter, the rate lists of the
// two forms and their records.
#include "rates/AreaCodes.h"

#include "support/FakeSite.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

TEST(RateClassTest, TheIntegerPartOfTheRateNumberNamesTheClass) {
    const std::pair<const char*, const char*> cases[] = {
        {"2", "International"},
        {"100", "International"},
        {"223", "International"},
        {"223.9", "International"},
        {"1", ""},
        {"1.99", ""},
        {"0", ""},
        {"-5", ""},
        {"224", ""},
        {"234", ""},
        {"235", "Interstate"},
        {"236", ""},
        {"240", "Toll Free"},
        {"240.7", "Toll Free"},
        {"245", "Local Information"},
        {"246", "Intrastate Information"},
        {"247", "LD Information"},
        {"248", "900 Calls"},
        {"249", ""},
        {"250", "Local"},
        {"251", ""},
        {"252", "Intrastate"},
        {"253", ""},
        {" 247", "LD Information"},
        {"", ""},
        {"abc", ""},
        {"1e400", ""},
    };
    for (const auto& [number, text] : cases) EXPECT_EQ(RateClass(number), text) << number;
}

// Every named class of the window is a choice of the modify form with the number it came from,
// so a row saved unchanged keeps its rate.
TEST(RateChoicesTest, TheModifyListIsTheWindowsClassesAndTheAddListTheSystemsTable) {
    QStringList modify;
    for (const RateChoice& c : modifyRateChoices()) {
        modify << c.text + "=" + c.rate;
        EXPECT_EQ(RateClass(c.rate), c.text);
    }
    EXPECT_EQ(modify, (QStringList{"Intrastate=252", "Local=250", "Interstate=235", "Toll Free=240",
                                   "Local Information=245", "Intrastate Information=246",
                                   "LD Information=247", "900 Calls=248"}));
    EXPECT_FALSE(rateForChoice(modifyRateChoices(), "911"));
    EXPECT_FALSE(rateForChoice(modifyRateChoices(), "International"));
    EXPECT_FALSE(rateForChoice(modifyRateChoices(), "local"));

    QStringList add;
    for (const RateChoice& c : addRateChoices()) add << c.text + "=" + c.rate;
    EXPECT_EQ(add, (QStringList{"Intrastate=252", "Local=250", "Interstate=235", "Toll Free=240",
                                "Local Information=245", "Intrastate Information=246",
                                "LD Information= 247", "900 Calls= 248", "911= 240"}));
}

TEST(LdRecordsTest, ModifyAndAddRecordsFieldByField) {
    const LdRow old{"617", "555", "Boston  MA", "250"};
    const QString mod = ldModifyRecord(old, {"617", "555", "Boston $(x) 'MA'", "247"});
    EXPECT_EQ(mod, "1,mod,ld,617,555,Boston  MA,1,250,617,555,Boston $(x) 'MA',1,247");
    EXPECT_EQ(mod.split(',').size(), 13);

    const QString add = ldAddRecord({"617", "555", " Boston   Back  Bay ", " 247"});
    EXPECT_EQ(add, "1,add,ld,617,555, Boston Back Bay ,1, 247");
    EXPECT_EQ(add.split(',').size(), 8);
    EXPECT_EQ(ldAddRecord({"617", "555", "Boston MA", "250"}), "1,add,ld,617,555,Boston MA,1,250");
}

TEST(LdFilterTest, ATickedFilterKeepsExactlyEqualFields) {
    const QList<QStringList> records{{"1", "012", "555", "A"},
                                     {"2", "12", "555", "B"},
                                     {"3", "", "555", "C"},
                                     {"4", "12", "", "D"},
                                     {"5", "12 ", "555", "E"}};
    struct Case {
        LdFilter filter;
        QString kept;
    };
    const Case cases[] = {
        {{}, "ABCDE"},
        {{true, "12", false, "ignored"}, "BD"},
        {{true, "012", false, ""}, "A"},
        {{true, "", false, ""}, "C"},
        {{false, "", true, ""}, "D"},
        {{true, "12", true, "555"}, "B"},
        {{true, "12", true, ""}, "D"},
        {{true, "99", false, ""}, ""},
    };
    for (const Case& c : cases) {
        QString kept;
        for (const QStringList& r : records)
            if (c.filter.keeps(r)) kept += r[3];
        EXPECT_EQ(kept, c.kept) << c.filter.areaCode.toStdString() << "/"
                                << c.filter.prefix.toStdString();
    }
}

// Rate rows 252, 250, 240 stand on lines 1 to 3 and point at calc rows 10 and 7, which stand
// on lines 2 and 1: a lookup by line would find nothing or the wrong row.
class RateRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        home.write("North/Bats/ld.csv", "1,617,555,Boston,1,252\r\n2,617,556,Cambridge\r\n");
        home.write("North/Bats/rate.csv",
                   "252,0.12,0.10,0.18,0.15,0,10\r\n250,0.05,0.05,0.08,0.08,0,7\r\n"
                   "240,0,0,0,0,0,99\r\n3,0.50,0.45,0.75,0.70,25,1\r\n");
        home.write("North/Bats/calc.csv", "7,a\r\n10,b\r\n1,c\r\n");
    }
    testsupport::TempHome home;
    testsupport::FakeSite site;
};

TEST_F(RateRowsTest, ARateNumberLeadsToTheRowsOfItsNumbersWhereverTheyStand) {
    const LdTables t = LdTables::load();
    EXPECT_TRUE(t.problems.isEmpty());
    ASSERT_EQ(t.ld.size(), 2);
    EXPECT_EQ(t.ld[1], (QStringList{"2", "617", "556", "Cambridge", "", ""}));
    EXPECT_EQ(t.calc[0].size(), LdTables::kCalcFields);

    struct Case {
        const char* rate;
        int rateRow;
        int calcRow;
    };
    const Case cases[] = {
        {"252", 0, 1}, {"252.5", 0, 1}, {"250", 1, 0},
        {"3", 3, 2},   {"240", 2, -1},  // its calc row 99 is not in the table
        {"1", -1, -1}, {"4", -1, -1},   {"70000", -1, -1},
        {"", -1, -1},  {"x", -1, -1},
    };
    for (const Case& c : cases) {
        const RateRows rows = rateRows(t, c.rate);
        EXPECT_EQ(rows.rate, c.rateRow) << c.rate;
        EXPECT_EQ(rows.calc, c.calcRow) << c.rate;
    }
}

TEST_F(RateRowsTest, TheGridRowShowsTheFieldsAsReadWithTheClass) {
    const LdTables t = LdTables::load();
    EXPECT_EQ(ldGridRow(t.ld[0]), (QStringList{"1", "617", "555", "Boston", "252", "Intrastate"}));
    EXPECT_EQ(ldGridRow(t.ld[1]), (QStringList{"2", "617", "556", "Cambridge", "", ""}));
}

TEST_F(RateRowsTest, MissingFilesAreNamed) {
    QFile::remove(home.file("North/Bats/rate.csv"));
    const LdTables t = LdTables::load();
    ASSERT_EQ(t.problems.size(), 1);
    EXPECT_TRUE(t.problems[0].contains("rate.csv"));
    EXPECT_EQ(t.ld.size(), 2);
    EXPECT_EQ(rateRows(t, "252").rate, -1);
}

}  // namespace
