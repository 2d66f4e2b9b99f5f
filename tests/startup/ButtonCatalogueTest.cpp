#include "support/ProgramWindows.h"
#include "widgets/WindowRegistry.h"
#include "common/ButtonCatalogue.h"

#include "common/Globals.h"
#include "menu/fMain.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRegularExpression>

namespace {

// Each entry is "NN.<kind> <title>" and "NN.<button>", where the button is one of the main
// window's command buttons, so that a grant always reaches a button.
TEST(ButtonCatalogue, EveryEntryIsNumberedAndNamesAMainWindowButton) {
    testsupport::TempHome home;
    quillon::G().g_ButtonLabels[0] = "left over";
    quillon::fillButtonCatalogue();
    const auto& g = quillon::G();
    EXPECT_TRUE(g.g_ButtonLabels[0].isEmpty());
    EXPECT_TRUE(g.g_ButtonNames[0].isEmpty());

    const QRegularExpression label("^(\\d\\d)\\.(RPT|MGR|UTL|USER) \\S.*$");
    const QRegularExpression name("^(\\d\\d)\\.(cmd\\w+)$");
    quillon::fMain* main = quillon::fMain::instance();
    for (int i = 1; i <= quillon::kButtonCount; ++i) {
        SCOPED_TRACE(i);
        const auto l = label.match(g.g_ButtonLabels[i]);
        const auto n = name.match(g.g_ButtonNames[i]);
        ASSERT_TRUE(l.hasMatch()) << g.g_ButtonLabels[i].toStdString();
        ASSERT_TRUE(n.hasMatch()) << g.g_ButtonNames[i].toStdString();
        EXPECT_EQ(l.captured(1).toInt(), i);
        EXPECT_EQ(n.captured(1).toInt(), i);
        EXPECT_TRUE(main->commandButton(n.captured(2))) << n.captured(2).toStdString();
    }
    quillon::fMain::unloadInstance();
}

struct Entry {
    int index;
    const char* label;
    const char* name;
};

// The texts as the button files and the user windows know them, every one.
class CatalogueEntry : public ::testing::TestWithParam<Entry> {};

TEST_P(CatalogueEntry, ReadsAsTheButtonFilesHaveIt) {
    testsupport::TempHome home;
    quillon::fillButtonCatalogue();
    const Entry& e = GetParam();
    EXPECT_EQ(quillon::G().g_ButtonLabels[e.index], QString::fromLatin1(e.label));
    EXPECT_EQ(quillon::G().g_ButtonNames[e.index], QString::fromLatin1(e.name));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CatalogueEntry,
    ::testing::Values(Entry{1, "01.RPT Detail Report", "01.cmddetail"},
                      Entry{2, "02.RPT Audit Report", "02.cmdAudit"},
                      Entry{3, "03.RPT Cost Report", "03.cmdcost"},
                      Entry{4, "04.RPT Stats Report", "04.cmdstats"},
                      Entry{5, "05.RPT Watchdog Report", "05.cmdWatchdog"},
                      Entry{6, "06.RPT Crono Report", "06.cmdcrono"},
                      Entry{7, "07.RPT Trunk Report", "07.cmdtrunk"},
                      Entry{8, "08.RPT AreaCode Report", "08.cmdAreaCode"},
                      Entry{9, "09.RPT Auth Report", "09.cmdauth"},
                      Entry{10, "10.RPT Call Calculator Report", "10.cmdcallcalc"},
                      Entry{11, "11.MGR Manager Menu", "11.cmdmanager"},
                      Entry{12, "12.UTL Delete Print Jobs on Server Menu", "12.cmddelprint"},
                      Entry{13, "13.UTL Synch PC to SERVER", "13.cmdsynch"},
                      Entry{14, "14.UTL Bring Back Reports Menu", "14.cmdbringreport"},
                      Entry{15, "15.UTL Delete Calls Menu", "15.cmddelete"},
                      Entry{16, "16.UTL Unlock Tables on Server", "16.cmdunlock"},
                      Entry{17, "17.UTL Make Fake Test Calls", "17.cmdtestcall"},
                      Entry{18, "18.UTL Configure Sites", "18.cmdedit"},
                      Entry{19, "19.UTL Backup", "19.cmdbackupmenu"},
                      Entry{20, "20.USER Add Users", "20.cmdadduser"},
                      Entry{21, "21.USER Modify users", "21.cmdmoduser"},
                      Entry{22, "22.USER Modify users Passwords", "22.cmdpasswd"},
                      Entry{23, "23.USER Delete users", "23.cmddeluser"},
                      Entry{24, "24.UTL Database", "24.cmddatabase"},
                      Entry{25, "25.UTL Area Codes and Prefixes", "25.cmdareacodes"},
                      Entry{26, "26.RPT UnUsed Station Report", "26.cmdunusedstations"}));

}  // namespace
