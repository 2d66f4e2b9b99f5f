#pragma once
// The texts a window shows, read as a user reads them: its caption, a control's own text, the
// label beside a box, a grid's column header, a hint, and the words of a progress label through
// one round of its dots. Controls are found by object name; a missing one fails the test.
#include "remote/ServerWaits.h"
#include "support/Controls.h"
#include "support/FakeServer.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

namespace testsupport {

enum class Shown {
    Caption,  // the window's title
    Text,     // a label's, button's, box's text or a frame's title
    Label,    // the text of the label that stands for the named box (its buddy)
    Header,   // a grid's column header
    Hint,     // the tooltip
    Frame,    // the title of the frame the named control stands in
    Items,    // a drop-down list's entries, joined by "|"
};

// One text of a window: the control named (empty: the window), what of it is read, the column
// for a header, and the text as the user must see it.
struct TextRow {
    const char* window;
    const char* control;
    Shown what;
    int column;
    const char* expected;
};
inline void PrintTo(const TextRow& r, std::ostream* os) {
    *os << r.window << "." << r.control << " " << static_cast<int>(r.what) << " " << r.column;
}

// A test name for a row: its index, window, control and what is read, letters and digits only.
inline std::string rowName(const ::testing::TestParamInfo<TextRow>& info) {
    static const char* const kinds[] = {"Caption", "Text",  "Label", "Header",
                                        "Hint",    "Frame", "Items"};
    std::string name = std::to_string(info.index) + "_" + info.param.window + "_" +
                       info.param.control + "_" + kinds[static_cast<int>(info.param.what)];
    if (info.param.what == Shown::Header) name += std::to_string(info.param.column);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

inline QString shownText(QWidget* window, const TextRow& row) {
    if (!window) return QString();
    QWidget* w = window;
    if (*row.control) w = control<QWidget>(window, row.control);
    if (!w) return QStringLiteral("<missing>");
    switch (row.what) {
        case Shown::Caption:
            return w->windowTitle();
        case Shown::Text:
            if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
            if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
            if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
            if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
            return w->windowTitle();
        case Shown::Label:
            for (QLabel* l : window->findChildren<QLabel*>())
                if (l->buddy() == w) return l->text();
            ADD_FAILURE() << "no label stands for " << row.control;
            return QString();
        case Shown::Header:
            if (auto* t = qobject_cast<QTreeWidget*>(w))
                return t->headerItem() ? t->headerItem()->text(row.column) : QString();
            if (auto* v = qobject_cast<QTableView*>(w))
                return v->model()->headerData(row.column, Qt::Horizontal).toString();
            ADD_FAILURE() << row.control << " is no grid";
            return QString();
        case Shown::Hint:
            return w->toolTip();
        case Shown::Frame:
            for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
                if (auto* g = qobject_cast<QGroupBox*>(p)) return g->title();
            ADD_FAILURE() << row.control << " stands in no frame";
            return QString();
        case Shown::Items:
            if (auto* c = qobject_cast<QComboBox*>(w)) {
                QStringList items;
                for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
                return items.join(QLatin1Char('|'));
            }
            ADD_FAILURE() << row.control << " is no drop-down list";
            return QString();
    }
    return QString();
}

// The windows of a family's table, each made by its name.
using WindowMakers = std::map<std::string, std::function<std::unique_ptr<QWidget>()>>;

// Makes the row's window, shows it and checks the row's text.
inline void expectShownText(const WindowMakers& makers, const TextRow& row) {
    const auto found = makers.find(row.window);
    ASSERT_NE(found, makers.end()) << row.window;
    const std::unique_ptr<QWidget> window = found->second();
    window->show();
    EXPECT_EQ(shownText(window.get(), row).toStdString(), row.expected);
}

// The texts of a progress label, from the one after its longest text through the longest
// again, as the window's own timer draws them; the timers are fired at once rather than waited
// for. The label must be on screen.
inline QStringList progressRound(QWidget* window, const char* label, const QString& longest) {
    QStringList seen;
    auto* l = control<QLabel>(window, label);
    if (!l) return seen;
    EXPECT_TRUE(l->isVisible()) << label << " is not on screen";
    // The timers of the window whose tick moves the label's dots.
    QList<QTimer*> drawing;
    const auto tick = [&] {
        for (QTimer* t : drawing) QMetaObject::invokeMethod(t, "timeout", Qt::DirectConnection);
    };
    for (QTimer* t : window->findChildren<QTimer*>()) {
        if (!t->isActive()) continue;
        const QString before = l->text();
        QMetaObject::invokeMethod(t, "timeout", Qt::DirectConnection);
        if (l->text() != before) {
            drawing << t;
            break;
        }
    }
    if (drawing.isEmpty()) {
        ADD_FAILURE() << "no running timer moves " << label;
        return seen;
    }
    for (int i = 0; i < 40 && l->text() != longest; ++i) tick();
    if (l->text() != longest) {
        ADD_FAILURE() << label << " never shows \"" << longest.toStdString() << "\", last \""
                      << l->text().toStdString() << "\"";
        return seen;
    }
    do {
        tick();
        seen << l->text();
    } while (l->text() != longest && seen.size() < 40);
    return seen;
}

// The round a label must draw: `first` and a dot more at each tick up to `longest`.
inline QStringList dotsFrom(const QString& first, const QString& longest) {
    QStringList out{first};
    while (out.last().size() < longest.size()) out << out.last() + QLatin1Char('.');
    return out;
}

// Holds the first line `pattern` matches as a slow server would, runs `look` while the window
// waits for it, then ends the wait as the user's Cancel does.
inline void lookWhileHeld(FakeServer& server, const LinePattern& pattern,
                          std::function<void()> look) {
    auto done = std::make_shared<bool>(false);
    server.on(pattern).blocksUntilCancel().then([&server, pattern, done, look](const QString&) {
        if (std::exchange(*done, true)) return;
        QTimer::singleShot(0, [&server, pattern, look] {
            server.on(pattern);  // the line is held once only
            look();
            quillon::ServerWaits::instance().cancelCurrent();
        });
    });
}

// As lookWhileHeld, for a window whose wait is the fetch of `remotePath`.
inline void lookWhileFetchHeld(FakeServer& server, const QString& remotePath,
                               std::function<void()> look) {
    auto done = std::make_shared<bool>(false);
    server.blockFetchUntilCancel(remotePath).onFetch(remotePath, [done, look] {
        if (std::exchange(*done, true)) return;
        QTimer::singleShot(0, [look] {
            look();
            quillon::ServerWaits::instance().cancelCurrent();
        });
    });
}

// A label as the user saw it when the window asked the server for `remotePath`.
struct SeenLabel {
    bool seen = false;
    bool visible = false;
    QString text;
};
inline std::shared_ptr<SeenLabel> labelWhenFetched(FakeServer& server, QWidget* window,
                                                   const char* label, const QString& remotePath) {
    auto seen = std::make_shared<SeenLabel>();
    auto* l = control<QLabel>(window, label);
    server.onFetch(remotePath, [seen, l] {
        if (std::exchange(seen->seen, true) || !l) return;
        seen->visible = l->isVisible();
        seen->text = l->text();
    });
    return seen;
}

}  // namespace testsupport
