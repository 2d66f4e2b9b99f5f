#pragma once
// Shared by the main-window tests: the main window on a chosen site, the windows the menu
// would open, and the texts of a list.
#include "common/Globals.h"
#include "menu/fMain.h"
#include "support/Controls.h"
#include "widgets/WindowRegistry.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QListWidget>
#include <QStringList>

#include <gtest/gtest.h>

namespace menutest {

// The main window for the length of a test, its site box holding "Default" and `site`, site 1
// chosen (without the connecting window a user's pick would open).
class MainWindowOnSite {
public:
    explicit MainWindowOnSite(const QString& site) : w(quillon::fMain::instance()) {
        testsupport::control<QComboBox>(w, "cboSites")->addItems({QStringLiteral("Default"), site});
        testsupport::control<QComboBox>(w, "cboSites")->setCurrentIndex(1);
        quillon::G().g_CurSite = 1;
    }
    ~MainWindowOnSite() {
        quillon::fMain::unloadInstance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    MainWindowOnSite(const MainWindowOnSite&) = delete;
    MainWindowOnSite& operator=(const MainWindowOnSite&) = delete;

    quillon::fMain* const w;
};

// Picks the entry shown with this text and double-clicks it, as the user does.
inline void doubleClick(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    list->setCurrentItem(found.front());
    emit list->itemDoubleClicked(found.front());
}

// Records the windows the menu would open instead of opening them.
struct OpenedWindows {
    OpenedWindows() {
        quillon::setWindowOpenHook([this](const QString& name) { names << name; });
    }
    ~OpenedWindows() { quillon::setWindowOpenHook({}); }
    QStringList names;
};

// The texts of a list, first to last.
inline QStringList listed(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace menutest
