// The lists of the report and table windows: the pair of selection lists, the pick list with
// its hidden twin, and the typed lists.
#include "widgets/KeyedPickList.h"
#include "widgets/ListPair.h"
#include "widgets/TypedList.h"

#include "support/Controls.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <ostream>

using namespace quillon;
using testsupport::control;

namespace {

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QStringList texts(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

int highlighted(const QListWidget* list) {
    return highlightedRow(list);
}

// ---- the pair of selection lists ---------------------------------------------------------

const QList<SelectionEntry> kExtensions{{"0012", "0012 Front Desk"},
                                        {"0007", "0007 Lobby"},
                                        {"12345", "12345 Suite"},
                                        {"0014", "0014 Bar"}};

void doubleClick(QListWidget* list, int row) {
    testsupport::doubleClick(list, list->item(row));
}

struct Move {
    const char* name;
    std::function<void(ListPair&)> act;
    QStringList available;  // shown texts; the twin holds their first words
    QStringList selected;
    int availableHighlight;
    int selectedHighlight;
};
void PrintTo(const Move& m, std::ostream* os) {
    *os << m.name;
}

// One walk through the moves of a window's lists, each step on what the last one left.
TEST(ListPairTest, MovesWalkTheListsAndKeepEachKeyWithItsEntry) {
    ListPair pair;
    pair.resize(400, 300);
    pair.show();
    pair.load(kExtensions);
    const auto highlight = [](QListWidget* list, int row) { list->setCurrentRow(row); };
    const Move moves[] = {
        {"nothing highlighted, >> moves nothing",
         [](ListPair& p) { p.cmdadd->click(); },
         {"0007 Lobby", "0012 Front Desk", "0014 Bar", "12345 Suite"},
         {},
         -1,
         -1},
        {">> moves the highlighted entry, the next one takes the highlight",
         [&](ListPair& p) {
             highlight(p.lstDivision, 1);
             p.cmdadd->click();
         },
         {"0007 Lobby", "0014 Bar", "12345 Suite"},
         {"0012 Front Desk"},
         1,
         -1},
        {"Enter moves the next one",
         [](ListPair& p) { QTest::keyClick(p.lstDivision, Qt::Key_Return); },
         {"0007 Lobby", "12345 Suite"},
         {"0012 Front Desk", "0014 Bar"},
         1,
         -1},
        {"the last entry moved leaves nothing highlighted",
         [](ListPair& p) { QTest::keyClick(p.lstDivision, Qt::Key_Enter); },
         {"0007 Lobby"},
         {"0012 Front Desk", "0014 Bar", "12345 Suite"},
         -1,
         -1},
        {"Delete gives a chosen entry back in its place",
         [&](ListPair& p) {
             highlight(p.lstItem, 0);
             QTest::keyClick(p.lstItem, Qt::Key_Delete);
         },
         {"0007 Lobby", "0012 Front Desk"},
         {"0014 Bar", "12345 Suite"},
         -1,
         0},
        {"Enter on the chosen list and Delete on the available one do nothing",
         [&](ListPair& p) {
             QTest::keyClick(p.lstItem, Qt::Key_Return);
             highlight(p.lstDivision, 0);
             QTest::keyClick(p.lstDivision, Qt::Key_Delete);
         },
         {"0007 Lobby", "0012 Front Desk"},
         {"0014 Bar", "12345 Suite"},
         0,
         0},
        {"a double click on the last chosen entry",
         [](ListPair& p) { doubleClick(p.lstItem, 1); },
         {"0007 Lobby", "0012 Front Desk", "12345 Suite"},
         {"0014 Bar"},
         0,
         -1},
        {"a double click on an available entry",
         [](ListPair& p) { doubleClick(p.lstDivision, 1); },
         {"0007 Lobby", "12345 Suite"},
         {"0012 Front Desk", "0014 Bar"},
         1,
         -1},
        {"<< gives the highlighted one back",
         [&](ListPair& p) {
             highlight(p.lstItem, 1);
             p.cmdremove->click();
         },
         {"0007 Lobby", "0014 Bar", "12345 Suite"},
         {"0012 Front Desk"},
         2,  // the available highlight stays on its entry
         -1},
    };
    for (const Move& m : moves) {
        SCOPED_TRACE(m.name);
        m.act(pair);
        EXPECT_EQ(texts(pair.lstDivision).join('|'), m.available.join('|'));
        EXPECT_EQ(texts(pair.lstItem).join('|'), m.selected.join('|'));
        QStringList availableKeys, selectedKeys;
        for (const QString& t : m.available) availableKeys << t.section(' ', 0, 0);
        for (const QString& t : m.selected) selectedKeys << t.section(' ', 0, 0);
        EXPECT_EQ(texts(pair.lstDivisionHidden).join('|'), availableKeys.join('|'));
        EXPECT_EQ(texts(pair.lstItemHidden).join('|'), selectedKeys.join('|'));
        EXPECT_EQ(highlighted(pair.lstDivision), m.availableHighlight);
        EXPECT_EQ(highlighted(pair.lstItem), m.selectedHighlight);
    }
}

TEST(ListPairTest, AllTakesEveryEntryAndGivesEveryOneBack) {
    ListPair pair;
    pair.load(kExtensions);
    QCheckBox* all = pair.addAllBox();
    EXPECT_EQ(all->objectName(), "chkall");
    EXPECT_EQ(all->text(), "All");
    pair.lstDivision->setCurrentRow(0);
    pair.addHighlighted();  // chosen one by one before "All"
    all->setChecked(true);
    EXPECT_EQ(texts(pair.lstItem),
              (QStringList{"0007 Lobby", "0012 Front Desk", "0014 Bar", "12345 Suite"}));
    EXPECT_EQ(pair.lstDivision->count(), 0);
    EXPECT_FALSE(pair.lstItem->isEnabled());
    // A greyed list keeps its entries, whatever is pressed.
    pair.lstItem->setCurrentRow(0);
    pair.cmdremove->click();
    QTest::keyClick(pair.lstItem, Qt::Key_Delete);
    EXPECT_EQ(pair.lstItem->count(), 4);
    all->setChecked(false);
    EXPECT_EQ(texts(pair.lstDivision),
              (QStringList{"0007 Lobby", "0012 Front Desk", "0014 Bar", "12345 Suite"}));
    EXPECT_EQ(pair.lstItem->count(), 0);
    EXPECT_TRUE(pair.lstDivision->isEnabled());
    EXPECT_TRUE(pair.lstItem->isEnabled());
    // "All" over an empty list only greys the lists.
    pair.load({});
    all->setChecked(true);
    EXPECT_FALSE(pair.lstDivision->isEnabled());
    EXPECT_EQ(pair.lstItem->count(), 0);
}

// Keys that sort otherwise than their texts (unformatted codes) still travel with their entry,
// and a loaded list starts with nothing chosen.
TEST(ListPairTest, UnformattedKeysTravelWithTheirEntries) {
    ListPair pair;
    pair.load({{"12", "0012 Marketing"}, {"7", "0007 Legal"}});
    EXPECT_EQ(texts(pair.lstDivisionHidden), (QStringList{"12", "7"}));
    pair.lstDivision->setCurrentRow(1);  // 0012 Marketing
    pair.addHighlighted();
    EXPECT_EQ(pair.selected().keys(), QStringList{"12"});
    EXPECT_EQ(texts(pair.lstDivisionHidden), QStringList{"7"});
    pair.load({{"3", "0003 Operations"}});
    EXPECT_EQ(pair.lstItem->count(), 0);
    EXPECT_EQ(pair.lstItemHidden->count(), 0);
}

// ---- the pick list with its hidden twin --------------------------------------------------

TEST(KeyedPickListTest, LabelsAndKeysStayPairedAndThePreselectionIsExact) {
    QWidget window;
    KeyedPickList pick(&window, "cboDivision", "cboDivisionhidden");
    EXPECT_EQ(control<QComboBox>(window, "cboDivision"), pick.shown());
    EXPECT_TRUE(pick.twin()->isHidden());
    EXPECT_FALSE(pick.shown()->isEditable());
    pick.setEntries({{"12345", "12345 Suite"}, {"1234", "1234 Annex"}, {"0002", "0002 Guest"}});
    EXPECT_EQ(texts(pick.shown()), (QStringList{"12345 Suite", "1234 Annex", "0002 Guest"}));
    EXPECT_EQ(texts(pick.twin()), (QStringList{"12345", "1234", "0002"}));
    EXPECT_EQ(pick.currentIndex(), -1);
    EXPECT_EQ(pick.currentKey(), "");

    const std::pair<const char*, int> preselections[] = {
        {"1234", 1}, {"12345", 0}, {"2", 2}, {"0002", 2}, {"12", -1}, {"123", -1}, {"", -1},
    };
    for (const auto& [key, index] : preselections) {
        EXPECT_EQ(pick.preselect(key), index) << key;
        EXPECT_EQ(pick.currentIndex(), index) << key;
        EXPECT_EQ(pick.twin()->currentIndex(), index) << key;
    }

    // A pick in the shown list chooses the same entry of the twin.
    pick.shown()->setCurrentIndex(0);
    EXPECT_EQ(pick.currentKey(), "12345");
    pick.sortByText();
    EXPECT_EQ(texts(pick.shown()), (QStringList{"0002 Guest", "1234 Annex", "12345 Suite"}));
    EXPECT_EQ(texts(pick.twin()), (QStringList{"0002", "1234", "12345"}));
    EXPECT_EQ(pick.currentIndex(), 2);
    EXPECT_EQ(pick.currentKey(), "12345");
    pick.add({"0001", "0001 ALL"});
    EXPECT_EQ(pick.at(3).key, "0001");
    EXPECT_EQ(pick.currentKey(), "12345");
    pick.clear();
    EXPECT_EQ(pick.count(), 0);
    EXPECT_EQ(pick.twin()->count(), 0);
}

// ---- typed lists -------------------------------------------------------------------------

TEST(TypedListTest, KeepsOrRefusesTheSameEntryAgain) {
    testsupport::ScriptedPrompter prompter;
    QListWidget codes;
    for (const char* c : {"212", "718", "212", "1"})
        EXPECT_TRUE(appendTyped(&codes, c, Duplicates::Keep));
    EXPECT_EQ(texts(&codes), (QStringList{"212", "718", "212", "1"}));

    QListWidget numbers;
    prompter.ok();
    EXPECT_TRUE(appendTyped(&numbers, "555a", Duplicates::Refuse));
    EXPECT_FALSE(appendTyped(&numbers, "555A", Duplicates::Refuse));
    EXPECT_EQ(texts(&numbers), QStringList{"555a"});
    EXPECT_EQ(prompter.messages(), QStringList{"Already in list"});
}

TEST(TypedListTest, RemovingWalksUpTheList) {
    QListWidget codes;
    codes.addItems({"1", "2", "3", "4", "5"});
    removeHighlightedTyped(&codes);  // nothing highlighted
    EXPECT_EQ(codes.count(), 5);
    codes.setCurrentRow(2);
    removeHighlightedTyped(&codes);
    EXPECT_EQ(texts(&codes), (QStringList{"1", "2", "4", "5"}));
    EXPECT_EQ(highlightedRow(&codes), 1);
    removeHighlightedTyped(&codes);
    EXPECT_EQ(highlightedRow(&codes), 0);
    removeHighlightedTyped(&codes);
    EXPECT_EQ(texts(&codes), (QStringList{"4", "5"}));
    EXPECT_EQ(highlightedRow(&codes), -1);
}

}  // namespace
