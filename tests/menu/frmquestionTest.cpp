#include "menu/frmquestion.h"
#include "support/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

#include "common/Globals.h"
#include "menu/fMain.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using quillon::fMain;
using quillon::frmquestion;
using quillon::G;

namespace {

// What the price-list menu would see when it opens: the flag, and whether the question is gone.
struct DatabaseOpenings {
    explicit DatabaseOpenings(QWidget* question) {
        EXPECT_NE(quillon::WindowRegistry::forWindow(QStringLiteral("frmDatabase")), nullptr);
        quillon::setWindowOpenHook([this, question](const QString& name) {
            EXPECT_EQ(name, QStringLiteral("frmDatabase"));
            adminAtOpening << G().g_AdminPricing;
            questionGone << !question->isVisible();
        });
    }
    ~DatabaseOpenings() { quillon::setWindowOpenHook({}); }
    QList<bool> adminAtOpening;
    QList<bool> questionGone;
};

TEST(frmquestion, AsksWithTwoAnswers) {
    testsupport::TempHome home;
    frmquestion q;
    EXPECT_EQ(q.windowTitle(), QStringLiteral("Pricing question"));
    EXPECT_EQ(q.lbltxt->text(), QStringLiteral("Do you want to modify Guest or Admin Pricing?"));
    EXPECT_EQ(q.Command1->text(), QStringLiteral("Guest"));
    EXPECT_EQ(q.Command2->text(), QStringLiteral("Admin"));
    EXPECT_EQ(q.Command1->nextInFocusChain(), q.Command2);
}

TEST(frmquestion, EachAnswerIsRecordedBeforeThePriceListsOpen) {
    testsupport::TempHome home;
    {
        frmquestion admin;
        DatabaseOpenings openings(&admin);
        admin.show();
        QTest::mouseClick(admin.Command2, Qt::LeftButton);
        EXPECT_EQ(openings.adminAtOpening, QList<bool>{true});
        EXPECT_EQ(openings.questionGone, QList<bool>{true});
    }
    {
        // Admin once, then Guest: the lists opened after the second choice are the Guest ones.
        frmquestion guest;
        DatabaseOpenings openings(&guest);
        guest.show();
        QTest::mouseClick(guest.Command1, Qt::LeftButton);
        EXPECT_EQ(openings.adminAtOpening, QList<bool>{false});
        EXPECT_EQ(openings.questionGone, QList<bool>{true});
    }
    EXPECT_FALSE(G().g_AdminPricing);
}

TEST(frmquestion, ClosingWithoutAnAnswerChangesNothingAndOpensNothing) {
    testsupport::TempHome home;
    G().g_AdminPricing = true;
    frmquestion q;
    DatabaseOpenings openings(&q);
    q.show();
    q.close();
    EXPECT_TRUE(openings.adminAtOpening.isEmpty());
    EXPECT_TRUE(G().g_AdminPricing);
}

}  // namespace
