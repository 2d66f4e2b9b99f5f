// Call pricing against the stand-in server, in a site folder of the test's own: the calculator
// from request to opened report (and its answers that are not to be shown), an LD row modified
// and an area code added through the answerer, hostile names stored byte for byte.
#include "rates/fcallcalc.h"
#include "rates/frmac.h"
#include "rates/frmaddac.h"
#include "rates/frmeditAC.h"

#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "remote/CheckedLines.h"
#include "reports/common/ReportTable.h"
#include "support/ChangeForms.h"
#include "support/ProgramWindows.h"
#include "support/RecordingViewer.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/SimSite.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "widgets/KeyedPickList.h"
#include "widgets/SortableGrid.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

using namespace quillon;
using testsupport::saveAndWait;
using testsupport::SimServer;

namespace {

class RatesSimTest : public testsupport::SimSiteTest {
protected:
    QStringList requests() const { return QDir(site.folder()).entryList({"*.todo"}, QDir::Files); }
    QByteArray mirror(const QString& table) const { return home.read("North/Bats/" + table); }
    static void fillAdd(frmaddac& f, const char* name, const char* area, const char* prefix,
                        const char* rate) {
        f.txtname->setText(name);
        f.txtareacode->setText(area);
        f.txtprefix->setText(prefix);
        f.cborate->setCurrentIndex(f.cborate->findText(rate));
    }
    void fill(fcallcalc& w, const char* area, const char* prefix) {
        w.txtarea->setText(area);
        w.txtprefix->setText(prefix);
        w.txtduration->setText("5");
        w.cboDivision->setCurrentIndex(1);
    }

    testsupport::ScriptedPrompter prompter;
    testsupport::RecordingViewer viewer;
    quillon::SettableClock programClock{QDateTime(QDate(2026, 12, 9), QTime(14, 5))};
};

TEST_F(RatesSimTest, TheCalculatorPricesTheCallAndOpensTheReport) {
    const QString chosen =
        home.file("North/Download/Call_Calc/12-09_14-05_TESTPC_617-555_CCAL.rtf");
    prompter.filePath(chosen);
    fcallcalc w;
    w.show();
    fill(w, "617", "555");
    w.Command1_Click();
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    EXPECT_EQ(site.read("TESTPC_CCAL.TMP"), "617,555,5,0002\n");
    EXPECT_EQ(SimServer::calls("ORV_CCAL"), QStringList{"0 TESTPC_CCAL.TMP"});
    EXPECT_EQ(viewer.opened, QStringList{chosen});
    const QByteArray report =
        home.read("North/Download/Call_Calc/12-09_14-05_TESTPC_617-555_CCAL.rtf");
    EXPECT_TRUE(report.contains("\r\nLOCATION              Boston MA\r\n")) << report.constData();
    EXPECT_TRUE(report.contains("\r\nTOTAL                $     0.77\r\n")) << report.constData();
    EXPECT_TRUE(QDir(home.file("North/Download")).entryList(QDir::Files).isEmpty());
}

struct KnobCase {
    const char* knob;
    const char* value;
    const char* said;  // "" when the report is shown
};
void PrintTo(const KnobCase& c, std::ostream* os) {
    *os << c.knob;
}
class CostKnobs : public RatesSimTest, public ::testing::WithParamInterface<KnobCase> {};

TEST_P(CostKnobs, OnlyThisCallsAnswerIsShown) {
    const KnobCase& c = GetParam();
    SimServer::setKnob(c.knob, c.value);
    const bool shown = QString(c.said).isEmpty();
    if (shown)
        prompter.filePath(home.file("North/Download/Call_Calc/international.rtf"));
    else
        prompter.ok();
    fcallcalc w;
    w.show();
    w.chkinternational->setChecked(true);
    fill(w, "011", "44");
    w.Command1_Click();
    if (shown) {
        EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
        const QByteArray report = home.read("North/Download/Call_Calc/international.rtf");
        EXPECT_TRUE(report.contains("\r\nLOCATION              United Kingdom\r\n"));
        EXPECT_TRUE(report.contains("\r\nPeriod 3 TIME          "));
        return;
    }
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains(c.said)) << prompter.messages()[0].toStdString();
    EXPECT_TRUE(viewer.opened.isEmpty());
    EXPECT_TRUE(w.Command1->isVisible());
    EXPECT_TRUE(QDir(home.file("North/Download")).entryList(QDir::Files).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Calculator, CostKnobs,
    ::testing::Values(KnobCase{"ORV_CCAL.two_lines", "1", ""},
                      KnobCase{"ORV_CCAL.stale", "", "prices another call (201-555), not 011-44"},
                      KnobCase{"ORV_CCAL.short_record", "1", "has 10 fields where 19 are needed"},
                      KnobCase{"ORV_CCAL.no_report", "1", "finished without writing"}));

TEST_F(RatesSimTest, ARowModifiedThroughTheTableWindowShowsItsNewClass) {
    frmac w;
    int boston = 0;
    for (int r = 1; r <= w.MSFlexGrid1->dataRows(); ++r)
        if (w.MSFlexGrid1->cell(r, 3) == "Boston MA") boston = r;
    ASSERT_GT(boston, 0);
    EXPECT_EQ(w.MSFlexGrid1->cell(boston, 5), "Intrastate");
    frmeditAC f(w.MSFlexGrid1->rowCells(boston));
    f.txtname->setText("Boston  'Back Bay' $(touch canary)");
    f.cborate->setCurrentIndex(f.cborate->findText("LD Information"));
    prompter.ok();
    saveAndWait(f);
    EXPECT_EQ(prompter.messages(), QStringList{"Data Modified"});
    ASSERT_EQ(requests().size(), 1);
    EXPECT_EQ(
        site.read(requests().first()),
        "1,mod,ld,617,555,Boston MA,1,252,617,555,Boston  'Back Bay' $(touch canary),1,247\n");
    EXPECT_FALSE(site.exists("canary"));
    EXPECT_TRUE(
        mirror("ld.csv").contains("\r\n6,617,555,Boston  'Back Bay' $(touch canary),1,247\r\n"))
        << mirror("ld.csv").constData();
    w.cmdFilter_Click();
    EXPECT_EQ(w.MSFlexGrid1->cell(boston, 5), "LD Information");
}

TEST_F(RatesSimTest, AnAddedAreaCodeComesBackInTheMirror) {
    frmaddac f;
    fillAdd(f, "Back   Bay;`touch canary`", "617", "557", "911");
    prompter.ok();
    saveAndWait(f);
    EXPECT_EQ(prompter.messages(), QStringList{"Areacode added OK"});
    ASSERT_EQ(requests().size(), 1);
    EXPECT_EQ(site.read(requests().first()), "1,add,ld,617,557,Back Bay;`touch canary`,1, 240\n");
    EXPECT_FALSE(site.exists("canary"));
    EXPECT_TRUE(mirror("ld.csv").contains("\r\n16,617,557,Back Bay;`touch canary`,1, 240\r\n"))
        << mirror("ld.csv").constData();
    EXPECT_TRUE(SimServer::shellLines().contains(withExitStatus("./do_csv.sh")));
}

TEST_F(RatesSimTest, AnAreaCodeThatIsThereIsRefused) {
    frmaddac f;
    fillAdd(f, "Again", "617", "555", "Local");
    prompter.ok();
    saveAndWait(f);
    EXPECT_EQ(prompter.messages(), QStringList{"1,Record already exists\r\nRefeshing Data"});
    EXPECT_FALSE(mirror("ld.csv").contains("Again"));
}

}  // namespace
