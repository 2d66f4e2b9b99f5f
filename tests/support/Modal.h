#pragma once
// Acting on a window that its opener shows modally: the opener's exec() returns only once the
// window closes, so the act is queued before the opener runs and done when the window named so
// is shown. The window is looked for every 10 ms until it shows, for as long as the test that
// asked runs (a window that never opens, as after a cancelled table pull, is no failure).
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace testsupport {

namespace detail {
inline void actWhenShown(const QString& name, const std::function<void(QWidget&)>& act,
                         const ::testing::TestInfo* test) {
    QTimer::singleShot(10, [name, act, test] {
        if (::testing::UnitTest::GetInstance()->current_test_info() != test) return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible()) return act(*w);
        actWhenShown(name, act, test);
    });
}
}  // namespace detail

// Runs act(window) once the top-level window named `name` is shown; W is the window's class.
template <class W = QWidget, class Act>
void whenShown(const QString& name, Act act) {
    detail::actWhenShown(
        name, [act](QWidget& w) { act(static_cast<W&>(w)); },
        ::testing::UnitTest::GetInstance()->current_test_info());
}

// Closes the window named `name` once it is shown.
inline void closeWhenShown(const QString& name) {
    whenShown(name, [](QWidget& w) { w.close(); });
}

}  // namespace testsupport
