// The watch-dog window: saved numbers through a real KTReports.ini, the phone box, the two
// lists and the refused runs.
#include "reports/selection/fWatchdog.h"

#include "SelectionTestSupport.h"
#include "common/Globals.h"
#include "platform/ProfileFile.h"
#include "reports/selection/SavedNumbers.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>

using namespace quillon;

namespace {

const QString kNoSaved = QStringLiteral("No saved entries for watch dog report for this site");

using selectiontest::texts;

// NumWDogEntries=n and wdognum0 to wdognum<n-1>, the numbers 5550000 + i.
QByteArray longList(int n, QStringList* numbers = nullptr) {
    QByteArray lines = "NumWDogEntries=" + QByteArray::number(n) + "\r\n";
    for (int i = 0; i < n; ++i) {
        const QString number = QString::number(5550000 + i);
        lines += "wdognum" + QByteArray::number(i) + "=" + number.toLatin1() + "\r\n";
        if (numbers) *numbers << number;
    }
    return lines;
}

class WatchdogTest : public ::testing::Test {
protected:
    void ini(const QByteArray& content) { home.write("KTReports.ini", content); }
    // Site 2 (the site box's index 1) has these numbers saved.
    void saved(const QByteArray& lines) { ini("[Sites]\r\nNum=2\r\n[Site2]\r\n" + lines); }
    void type(fWatchdog& w, const QString& number) { w.txtitem->setText(number); }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    selectiontest::FakeHost host;
};

TEST_F(WatchdogTest, OpensWithoutSavedNumbersOnce) {
    prompter.ok();
    fWatchdog w;
    EXPECT_EQ(prompter.messages(), QStringList{kNoSaved});
    EXPECT_EQ(w.lstsaved->count(), 0);
    EXPECT_EQ(w.lstItem->count(), 0);
    EXPECT_EQ(w.windowTitle(), "Watch Dog Report");
    EXPECT_EQ(w.Label5->text(), "Saved  Numbers");
    EXPECT_EQ(w.txtitem->maxLength(), 16);
    EXPECT_FALSE(w.chksendprinter->isChecked());
    EXPECT_TRUE(w.Optdate[1]->isChecked());
    EXPECT_TRUE(w.Optdate[0]->isHidden());
    EXPECT_EQ(w.endtime->time(), QTime(23, 59));
}

TEST_F(WatchdogTest, LoadsTheSavedNumbersOfTheChosenSite) {
    struct Case {
        const char* name;
        QByteArray section;
        QStringList numbers;
        bool noneMessage;
    };
    QStringList long1500;
    const QByteArray list1500 = longList(1500, &long1500);
    const Case cases[] = {
        {"two", "NumWDogEntries=2\r\nwdognum0=111\r\nwdognum1=222\r\n", {"111", "222"}, false},
        {"more than a thousand", list1500, long1500, false},
        // No list is that long: the stored numbers below it, without a blank for every gap.
        {"count no list reaches",
         "NumWDogEntries=1e9\r\nwdognum7=888\r\nwdognum0=111\r\nwdognum00=000\r\n",
         {"111", "888"},
         false},
        {"count larger than the keys",
         "NumWDogEntries=3\r\nwdognum0=111\r\nwdognum1=222\r\n",
         {"111", "222", ""},
         false},
        {"keys in any order",
         "wdognum1=222\r\nNUMWDOGENTRIES=2\r\nWDOGNUM0=111\r\n",
         {"111", "222"},
         false},
        {"count rounded down",
         "NumWDogEntries=2.7\r\nwdognum0=1\r\nwdognum1=2\r\nwdognum2=3\r\n",
         {"1", "2"},
         false},
        {"count zero", "NumWDogEntries=0\r\nwdognum0=111\r\n", {}, true},
        {"count missing", "wdognum0=111\r\n", {}, true},
        {"count not a number", "NumWDogEntries=two\r\nwdognum0=111\r\n", {}, true},
        {"count negative", "NumWDogEntries=-1\r\nwdognum0=111\r\n", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScriptedPrompter local;
        saved(c.section + "[Site3]\r\nNumWDogEntries=1\r\nwdognum0=999\r\n");
        if (c.noneMessage) local.ok();
        fWatchdog w;
        EXPECT_EQ(texts(w.lstsaved), c.numbers);
        EXPECT_EQ(local.messages(), c.noneMessage ? QStringList{kNoSaved} : QStringList{});
    }
}

TEST_F(WatchdogTest, SavesTheListAndAShorterOneOverIt) {
    ini("[Sites]\r\nNum=2\r\n[Site1]\r\nName=South\r\n");
    prompter.ok();
    {
        fWatchdog w;
        for (const char* n : {"5551", "5552", "5553"}) {
            type(w, n);
            w.cmdaddtosave_Click();
        }
        w.cmdsave_Click();
        EXPECT_EQ(w.lstsaved->currentRow(), 2);
    }
    const platform::ProfileFile file(home.file("KTReports.ini"));
    EXPECT_EQ(file.read("Site2", "NumWDogEntries"), "3");
    EXPECT_EQ(file.read("Site2", "wdognum2"), "5553");
    {
        fWatchdog w;
        EXPECT_EQ(texts(w.lstsaved), (QStringList{"5551", "5552", "5553"}));
        w.lstsaved->setCurrentRow(0);
        w.cmdsaveremove_Click();
        w.lstsaved->setCurrentRow(1);
        w.cmdsaveremove_Click();
        w.cmdsave_Click();
    }
    EXPECT_EQ(file.read("Site2", "NumWDogEntries"), "1");
    EXPECT_EQ(file.read("Site2", "wdognum0"), "5552");
    // The keys of the longer list stay, unread.
    EXPECT_EQ(file.read("Site2", "wdognum1"), "5552");
    EXPECT_EQ(file.read("Site2", "wdognum2"), "5553");
    EXPECT_EQ(file.read("Site1", "Name"), "South");
    const QByteArray bytes = home.read("KTReports.ini");
    EXPECT_TRUE(bytes.startsWith("[Sites]\r\nNum=2\r\n[Site1]\r\nName=South\r\n")) << bytes.data();
    fWatchdog again;
    EXPECT_EQ(texts(again.lstsaved), QStringList{"5552"});
}

// A long list comes back whole after a save, however long it is.
TEST_F(WatchdogTest, ALongSavedListSurvivesASave) {
    QStringList numbers;
    saved(longList(1001, &numbers));
    {
        fWatchdog w;
        type(w, "999");
        w.cmdaddtosave_Click();
        w.cmdsave_Click();
    }
    numbers << "999";
    const platform::ProfileFile file(home.file("KTReports.ini"));
    EXPECT_EQ(file.read("Site2", "NumWDogEntries"), "1002");
    fWatchdog again;
    EXPECT_EQ(texts(again.lstsaved), numbers);
}

TEST_F(WatchdogTest, AnEmptySavedListWritesTheCountZero) {
    saved("NumWDogEntries=1\r\nwdognum0=111\r\n");
    fWatchdog w;
    w.lstsaved->setCurrentRow(0);
    QTest::keyClick(w.lstsaved, Qt::Key_Delete);
    w.cmdsave_Click();
    EXPECT_EQ(platform::ProfileFile(home.file("KTReports.ini")).read("site2", "NumWDogEntries"),
              "0");
}

TEST_F(WatchdogTest, ASaveThatCannotBeWrittenIsReported) {
    QDir().mkpath(home.file("KTReports.ini"));  // a folder where the file should be
    prompter.ok().ok();
    fWatchdog w;
    type(w, "123");
    w.cmdaddtosave_Click();
    w.cmdsave_Click();
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_TRUE(prompter.messages()[1].contains("KTREPORTS.INI"));
}

TEST_F(WatchdogTest, PhoneBoxTakesNumbersAndEnterAddsThem) {
    prompter.ok();
    fWatchdog w;
    w.txtitem->setFocus();
    QTest::keyClicks(w.txtitem, "55a5");
    EXPECT_EQ(w.txtitem->text(), "555");
    w.txtitem->setText("1234567890123456");
    QTest::keyClicks(w.txtitem, "7");
    EXPECT_EQ(w.txtitem->text(), "1234567890123456");
    QTest::keyClick(w.txtitem, Qt::Key_Return);
    EXPECT_EQ(texts(w.lstItem), QStringList{"1234567890123456"});
    EXPECT_EQ(w.txtitem->text(), "1234567890123456");  // the box keeps its text
    w.txtitem->clear();
    w.cmdadd_Click();  // an empty box adds nothing
    EXPECT_EQ(w.lstItem->count(), 1);
}

TEST_F(WatchdogTest, EachListHoldsANumberOnce) {
    prompter.ok();
    fWatchdog w;
    type(w, "123");
    w.cmdadd_Click();
    prompter.ok();
    w.cmdadd_Click();
    EXPECT_EQ(prompter.messages().last(), "Already in list");
    EXPECT_EQ(texts(w.lstItem), QStringList{"123"});
    w.cmdaddtosave_Click();  // the saved list does not hold it yet
    EXPECT_EQ(texts(w.lstsaved), QStringList{"123"});
    w.lstItem->setCurrentRow(0);
    prompter.ok();
    w.cmdAddToSaved_Click();
    EXPECT_EQ(prompter.messages().last(), "Already in list");
    EXPECT_EQ(texts(w.lstsaved), QStringList{"123"});
}

TEST_F(WatchdogTest, CopiesBetweenTheListsKeepTheSource) {
    saved("NumWDogEntries=2\r\nwdognum0=111\r\nwdognum1=222\r\n");
    fWatchdog w;
    w.cmdAddFromSaved_Click();  // nothing highlighted
    EXPECT_EQ(w.lstItem->count(), 0);
    w.lstsaved->setCurrentRow(1);
    w.lstsaved_DblClick();
    EXPECT_EQ(texts(w.lstItem), QStringList{"222"});
    EXPECT_EQ(texts(w.lstsaved), (QStringList{"111", "222"}));
    type(w, "333");
    w.cmdadd_Click();
    w.lstItem->setCurrentRow(1);
    w.cmdAddToSaved_Click();
    EXPECT_EQ(texts(w.lstsaved), (QStringList{"111", "222", "333"}));
    EXPECT_EQ(w.lstItem->currentRow(), 1);
}

// A saved number comes from a file anyone can edit: only a number the phone box would take
// goes into a run.
TEST_F(WatchdogTest, SavedEntriesThatAreNoNumbersStayOutOfTheSearch) {
    saved("NumWDogEntries=3\r\nwdognum0=1'; rm -rf /\r\nwdognum1=123\r\n");
    fWatchdog w;
    EXPECT_EQ(texts(w.lstsaved), (QStringList{"1'; rm -rf /", "123", ""}));
    for (int row : {0, 2}) {
        prompter.ok();
        w.lstsaved->setCurrentRow(row);
        w.cmdAddFromSaved_Click();
    }
    EXPECT_EQ(w.lstItem->count(), 0);
    EXPECT_EQ(prompter.messages().size(), 2);
    w.lstsaved->setCurrentRow(1);
    w.cmdAddFromSaved_Click();
    EXPECT_EQ(texts(w.lstItem), QStringList{"123"});
}

TEST_F(WatchdogTest, DeleteRemovesAndHighlightsTheEntryBefore) {
    saved("NumWDogEntries=3\r\nwdognum0=1\r\nwdognum1=2\r\nwdognum2=3\r\n");
    fWatchdog w;
    w.lstsaved->setCurrentRow(2);
    QTest::keyClick(w.lstsaved, Qt::Key_Delete);
    EXPECT_EQ(texts(w.lstsaved), (QStringList{"1", "2"}));
    EXPECT_EQ(w.lstsaved->currentRow(), 1);
    w.lstsaved->setCurrentRow(0);
    QTest::keyClick(w.lstsaved, Qt::Key_Delete);
    EXPECT_EQ(texts(w.lstsaved), QStringList{"2"});
    EXPECT_TRUE(w.lstsaved->selectedItems().isEmpty());
    type(w, "9");
    w.cmdadd_Click();
    w.lstItem->setCurrentRow(0);
    QTest::keyClick(w.lstItem, Qt::Key_Delete);
    EXPECT_EQ(w.lstItem->count(), 0);
}

TEST_F(WatchdogTest, RunsThatCannotStart) {
    struct Case {
        const char* name;
        bool number;
        QStringList messages;
    };
    const Case cases[] = {{"empty search list", false, {"You Must Search Criteria"}},
                          {"empty interval", true, {"interval not added"}}};
    saved("NumWDogEntries=1\r\nwdognum0=1\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScriptedPrompter local;
        fWatchdog w;
        if (c.number) {
            type(w, "123");
            w.cmdadd_Click();
            w.Optdate[2]->setChecked(true);
        }
        for (int i = 0; i < c.messages.size(); ++i) local.ok();
        G().g_CurSite = 1;
        w.Command1_Click();
        EXPECT_EQ(local.messages(), c.messages);
        EXPECT_TRUE(host.handOvers.isEmpty());
        EXPECT_TRUE(w.Command1->isVisibleTo(&w));
        EXPECT_FALSE(w.lblrunning->isVisibleTo(&w));
    }
}

TEST(SavedNumberCountTest, ReadsTheWholeNumberPart) {
    const std::pair<const char*, qint64> cases[] = {
        {"3", 3},  {"2.9", 2}, {" 4 ", 4},     {"abc", 0},         {"", 0},
        {"3x", 0}, {"-2", -1}, {"1500", 1500}, {"1e9", 1000000000}};
    for (const auto& [text, count] : cases) EXPECT_EQ(savedNumberCount(text), count) << text;
}

}  // namespace
