// The price lists against the stand-in server: a line changed through its modify form goes to
// the server as the two records, the answerer applies them to the rows the line stands for, and
// the list that loads again shows the new price.
#include "prices/PriceListWindow.h"
#include "prices/PriceModifyForm.h"
#include "support/Modal.h"
#include "support/ProgramWindows.h"

#include "common/Globals.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/SimSite.h"
#include "support/TempHome.h"
#include "widgets/SortableGrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTimer>

#include <functional>

using namespace quillon;

namespace {

class PricesSimTest : public testsupport::SimSiteTest {
protected:
    QStringList requests() const { return QDir(site.folder()).entryList({"*.todo"}, QDir::Files); }
    // The first grid row whose cells begin so; 0 when there is none.
    static int rowOf(const SortableGrid* g, const QStringList& begin) {
        for (int r = 1; r <= g->dataRows(); ++r)
            if (g->rowCells(r).mid(0, begin.size()) == begin) return r;
        return 0;
    }
    // Changes the modify form's boxes and saves once the list has shown it; the form's own
    // timer polls for the answer.
    static void changeWhenShown(const QString& name, std::function<void(PriceModifyForm&)> edit) {
        testsupport::whenShown<PriceModifyForm>(name, [edit](PriceModifyForm& f) {
            edit(f);
            f.cmdsave_Click();
        });
    }

    testsupport::ScriptedPrompter prompter;
};

// Rate row 300 names calc row 250, as rate row 250 does: the change reaches row 300 only.
TEST_F(PricesSimTest, ADomesticLineChangedShowsItsNewPriceAfterTheReload) {
    G().g_AdminPricing = false;
    frmdomesticpricing list;
    list.show();
    SortableGrid* g = list.pricinggrid;
    const int row = rowOf(g, {"Local", "45", "0.05"});
    ASSERT_GT(row, 0);
    ASSERT_GT(rowOf(g, {"Local", "45", "0.15"}), 0);
    g->setCurrentRow(row);
    changeWhenShown("frmdomesticpricingmodify", [](PriceModifyForm& f) {
        f.txtoaic->setText("0.77");
        f.txtoaat->setText("90");
    });
    prompter.ok();
    list.cmdmodify_Click();

    EXPECT_EQ(prompter.messages(), QStringList{"Data Modified"});
    ASSERT_EQ(requests().size(), 1);
    EXPECT_EQ(site.read(requests().first()),
              "1,mod,rate,300,0.05,0.03,0.05,0.03,0,250,300,0.77,0.03,0.77,0.03,0,250  \n"
              "2,mod,calc,250,0,0,7.5,6,50,45,60,45,60,0,0,250,0,0,7.5,6,50,45,90,45,90,0,0  \n");
    EXPECT_EQ(site.read(QString(requests().first()).replace(".todo", ".done")),
              "1,Record modify OK\n2,Record modify OK\n");
    EXPECT_EQ(list.windowTitle(), "Domestic Guest Pricing");
    EXPECT_GT(rowOf(g, {"Local", "45", "0.77", "90", "0.03", "0"}), 0);
    // The other line of calc row 250 keeps its own cost and shares the new time.
    EXPECT_GT(rowOf(g, {"Local", "45", "0.15", "90"}), 0);
    EXPECT_EQ(rowOf(g, {"Local", "45", "0.05"}), 0);
}

// Admin row of the United Kingdom: Guest row 209 plus 256.
TEST_F(PricesSimTest, AnInternationalAdminLineChangedShowsItsNewTax) {
    G().g_AdminPricing = true;
    frminternational list;
    list.show();
    SortableGrid* g = list.pricinggrid;
    const int row = rowOf(g, {"United Kingdom", "30", "0.10"});
    ASSERT_GT(row, 0) << g->rowCells(1).join(',').toStdString();
    EXPECT_EQ(g->cell(row, 13), "465");
    g->setCurrentRow(row);
    changeWhenShown("frminternationalpricingmodify",
                    [](PriceModifyForm& f) { f.txtptax->setText("9"); });
    prompter.ok();
    list.cmdmodify_Click();

    EXPECT_EQ(prompter.messages(), QStringList{"Data Modified"});
    ASSERT_EQ(requests().size(), 1);
    EXPECT_EQ(
        site.read(requests().first()),
        "1,mod,rate,465,0.10,0.03,0.10,0.03,0.50,465,465,0.10,0.03,0.10,0.03,0.50,465  \n"
        "2,mod,calc,465,0,0.25,7.5,6,40,30,30,30,30,1,0,465,0,0.25,9,6,40,30,30,30,30,1,0  \n");
    const int changed = rowOf(g, {"United Kingdom", "30", "0.10"});
    ASSERT_GT(changed, 0);
    EXPECT_EQ(g->cell(changed, 8), "9");
    EXPECT_EQ(g->cell(rowOf(g, {"Germany"}), 8), "7.5");
}

}  // namespace
