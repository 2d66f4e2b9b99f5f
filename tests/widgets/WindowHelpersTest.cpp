// The small helpers every window uses: busy pointer, not-twice guard, timers, number boxes,
// KeyUp calls, the progress label and the wait panel.
#include "common/ReentryGuard.h"
#include "widgets/BusyPointer.h"
#include "widgets/KeyUpFilter.h"
#include "widgets/NumericTextFilter.h"
#include "widgets/ProgressLabel.h"
#include "widgets/Timers.h"
#include "widgets/WaitPanel.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <memory>

using namespace quillon;

namespace {

// ---- busy pointer ------------------------------------------------------------------------

TEST(BusyPointerTest, ShowsTheHourglassForItsScopeOrUntilReleased) {
    QWidget w;
    {
        BusyPointer busy(&w);
        EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    BusyPointer busy(&w);
    busy.release();
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    w.setCursor(Qt::IBeamCursor);
    busy.release();  // a second release changes nothing
    EXPECT_EQ(w.cursor().shape(), Qt::IBeamCursor);
}

TEST(BusyPointerTest, GivesBackWhatTheWindowShowedBefore) {
    QWidget w;
    w.setCursor(Qt::PointingHandCursor);
    {
        BusyPointer outer(&w);
        {
            BusyPointer inner(&w);
            EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
        }
        // The outer step still runs.
        EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(w.cursor().shape(), Qt::PointingHandCursor);
}

TEST(BusyPointerTest, AWindowGoneOrNoneIsHarmless) {
    BusyPointer none(nullptr);
    auto* w = new QWidget;
    BusyPointer busy(w);
    delete w;
    busy.release();
}

// ---- not twice ---------------------------------------------------------------------------

// A handler that waits in a local event loop, as a window does while the server answers.
struct Waiter {
    ReentryGuard guard;
    int started = 0;
    int refused = 0;
    std::function<void()> whileWaiting;

    void handler() {
        const ReentryGuard::Entry entry = guard.enter();
        if (!entry) {
            ++refused;
            return;
        }
        ++started;
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&] {
            if (whileWaiting) whileWaiting();
            loop.quit();
        });
        loop.exec();
    }
};

TEST(ReentryGuardTest, RefusesASecondEntryFromANestedEventLoop) {
    Waiter w;
    bool clicked = false;
    w.whileWaiting = [&] {
        if (clicked) return;  // one second click, even if the guard let it in
        clicked = true;
        EXPECT_TRUE(w.guard.running());
        w.handler();  // the second click, delivered while the first waits
    };
    w.handler();
    EXPECT_EQ(w.started, 1);
    EXPECT_EQ(w.refused, 1);
    EXPECT_FALSE(w.guard.running());
    w.whileWaiting = nullptr;
    w.handler();  // once the first has ended, the work may run again
    EXPECT_EQ(w.started, 2);
}

TEST(ReentryGuardTest, LeavingEarlyLetsTheNextEntryIn) {
    ReentryGuard guard;
    ReentryGuard::Entry first = guard.enter();
    ASSERT_TRUE(first);
    EXPECT_FALSE(guard.enter());
    first.leave();
    EXPECT_FALSE(guard.running());
    const ReentryGuard::Entry second = guard.enter();
    EXPECT_TRUE(second);
    first.leave();  // the first entry, already left, takes nothing from the second
    EXPECT_TRUE(guard.running());
}

TEST(ReentryGuardTest, AnEntryMayOutliveItsGuard) {
    auto guard = std::make_unique<ReentryGuard>();
    const ReentryGuard::Entry entry = guard->enter();
    guard.reset();
    EXPECT_TRUE(entry);
}

// ---- timers ------------------------------------------------------------------------------

TEST(TimersTest, NamedOwnedNotStartedAndCallingItsHandler) {
    auto owner = std::make_unique<QObject>();
    int ticks = 0;
    QTimer* t = makeTimer(owner.get(), "tmrreport", 1000, TimerShot::Repeating, [&] { ++ticks; });
    EXPECT_EQ(owner->findChild<QTimer*>("tmrreport"), t);
    EXPECT_EQ(t->interval(), 1000);
    EXPECT_FALSE(t->isSingleShot());
    EXPECT_FALSE(t->isActive());

    QTimer* once = makeTimer(owner.get(), "tmrNowLoad", 0, TimerShot::Single, [&] { ++ticks; });
    EXPECT_TRUE(once->isSingleShot());
    once->start();
    QTRY_COMPARE(ticks, 1);
    QPointer<QTimer> gone(once);
    owner.reset();
    EXPECT_TRUE(gone.isNull());
}

// ---- number boxes ------------------------------------------------------------------------

// A number box as the windows wire it: its change handler applies the rule.
void numberBox(QLineEdit& box) {
    QObject::connect(&box, &QLineEdit::textChanged, &box, [&box] { applyNumericTextFilter(&box); });
}

TEST(NumericTextFilterTest, KeepsTheLongestLeadingNumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"1a", "1"},      {"a12", ""},   {"12.5", "12.5"}, {"", ""},    {"12x3", "12"},
        {"1.2.3", "1.2"}, {"-", ""},     {"-5", "-5"},     {"1e", "1"}, {"1e5", "1e5"},
        {" 7", " 7"},     {"7 a", "7 "}, {"abc", ""},
    };
    for (const auto& [text, left] : cases) {
        EXPECT_EQ(numericPrefix(text), left) << '"' << text << '"';
        QLineEdit box;
        numberBox(box);
        box.setText(text);
        EXPECT_EQ(box.text(), left) << '"' << text << '"';
        EXPECT_EQ(box.cursorPosition(), box.text().size()) << '"' << text << '"';
    }
}

TEST(NumericTextFilterTest, TypedLettersGoAtOnceAndTheLimitStillHolds) {
    QLineEdit box;
    box.setMaxLength(3);
    numberBox(box);
    box.setFocus();
    QTest::keyClicks(&box, "1a2b34");
    EXPECT_EQ(box.text(), "123");
    // The rule applied to a box that came to hold a letter before it was wired.
    QLineEdit plain;
    plain.setText("4x");
    applyNumericTextFilter(&plain);
    EXPECT_EQ(plain.text(), "4");
    EXPECT_EQ(plain.cursorPosition(), 1);
}

// ---- KeyUp calls -------------------------------------------------------------------------

TEST(KeyUpFilterTest, KeyReleasesOnTheWatchedWidgetBecomeCodes) {
    QListWidget watched;
    QListWidget other;
    QList<int> codes;
    KeyUpFilter::install(&watched, [&](int code) { codes << code; });
    for (const Qt::Key k :
         {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Delete, Qt::Key_Space, Qt::Key_A, Qt::Key_Period})
        QTest::keyRelease(&watched, k);
    QTest::keyPress(&watched, Qt::Key_Delete);  // a press alone is no KeyUp
    QTest::keyRelease(&other, Qt::Key_Delete);
    EXPECT_EQ(codes, (QList<int>{kKeyEnter, kKeyEnter, kKeyDelete, kKeySpace, 0, 0}));
}

TEST(KeyUpFilterTest, OneKeyOnlyAndTheWidgetStillGetsItsKeys) {
    QLineEdit box;
    int deletes = 0;
    KeyUpFilter::onKey(&box, kKeyDelete, [&] { ++deletes; });
    box.setFocus();
    QTest::keyClicks(&box, "ab");
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(deletes, 0);
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(deletes, 1);
    EXPECT_EQ(box.text(), "b");
}

// ---- progress label ----------------------------------------------------------------------

TEST(ProgressLabelTest, GrowsToTenDotsThenStartsAgainAtOne) {
    ProgressLabel label("Report Running");
    QStringList seen;
    for (int i = 0; i < 12; ++i) {
        label.tick();
        seen << label.text();
    }
    EXPECT_EQ(seen[0], "Report Running.");
    EXPECT_EQ(seen[9], "Report Running..........");
    EXPECT_EQ(seen[10], "Report Running.");
    EXPECT_EQ(seen[11], "Report Running..");

    // A new text counts its dots afresh.
    label.setBaseText("Connecting to North");
    EXPECT_EQ(label.text(), "Connecting to North");
    for (int i = 0; i < 10; ++i) label.tick();
    EXPECT_EQ(label.text(), "Connecting to North..........");
    label.tick();
    EXPECT_EQ(label.text(), "Connecting to North.");
}

TEST(ProgressLabelTest, AWindowsOwnNumberOfDotsEndsTheRun) {
    for (const int most : {3, 11}) {
        ProgressLabel label("PROCESSING", most, nullptr);
        for (int i = 0; i < most; ++i) label.tick();
        EXPECT_EQ(label.text(), "PROCESSING" + QString(most, '.'));
        label.tick();
        EXPECT_EQ(label.text(), "PROCESSING.");
    }
}

// ---- wait panel ----------------------------------------------------------------------------

// The panel's label runs its dots exactly while it is shown; the names are the window's.
TEST(WaitPanelTest, ShowsTheRunningLabelWithItsDotsUnderTheWindowsNames) {
    QWidget window;
    auto* panel = new WaitPanel(&window,
                                {"Connecting to North", ProgressLabel::kMostDots,
                                 "lblgetdata", "tmrgetdata"},
                                WaitPanel::Cancel::Offered);
    window.show();
    EXPECT_EQ(window.findChild<QLabel*>("lblgetdata"), panel->label());
    EXPECT_EQ(window.findChild<QTimer*>("tmrgetdata"), panel->dots());
    EXPECT_EQ(window.findChild<LongWaitCancel*>("cmdcancelwait"), panel->cancelButton());
    EXPECT_TRUE(panel->label()->isHidden());
    EXPECT_FALSE(panel->dots()->isActive());
    EXPECT_EQ(panel->dots()->interval(), 1000);

    panel->showRunning(true);
    EXPECT_TRUE(panel->label()->isVisible());
    EXPECT_TRUE(panel->dots()->isActive());
    panel->dots_Timer();
    EXPECT_EQ(panel->label()->text(), "Connecting to North.");
    panel->showRunning(false);
    EXPECT_TRUE(panel->label()->isHidden());
    EXPECT_FALSE(panel->dots()->isActive());

    // A menu whose opened window has its own Cancel shows none.
    WaitPanel menu(nullptr, {"Retrieving Backups List", 3}, WaitPanel::Cancel::None);
    EXPECT_EQ(menu.cancelButton(), nullptr);
    EXPECT_EQ(menu.findChild<LongWaitCancel*>(), nullptr);
    EXPECT_EQ(menu.label()->objectName(), "lblrunning");
    EXPECT_EQ(menu.dots()->objectName(), "tmrreport");
}

}  // namespace
