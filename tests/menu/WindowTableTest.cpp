// The program's window table: every window it enters, as made for its opener, carries the
// entry's name, and its named controls carry names of their own, since windows open each
// other by those names and tests and the system find controls by them.
#include "support/ProgramWindows.h"

#include "common/Globals.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/NullMainWindow.h"
#include "support/RecordingViewer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "tables/TablesTestSupport.h"
#include "widgets/MainWindowPort.h"
#include "widgets/WindowRegistry.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

using namespace quillon;

namespace {

std::vector<std::string> windowNames() {
    std::vector<std::string> out;
    for (const WindowEntry& e : WindowRegistry::entries()) out.push_back(e.window.toStdString());
    return out;
}

// What each window's opener passes it: a grid row for the modify forms, the site names for the
// login; nothing for the others.
QVariant argumentFor(const QString& window) {
    static const QMap<QString, QVariant> kArguments{
        {"fEditDiv", QStringList{"0003", "Operations"}},
        {"feditdpt", QStringList{"0100", "Front Office", "3"}},
        {"feditext", QStringList{"0012", "Front Desk", "100", "12.50", "0.00", "2.00", "148", ""}},
        {"feditline", QStringList{"0005", "12", "1"}},
        {"frmeditAC", QStringList{"1", "617", "555", "Boston MA", "2"}},
        {"frmLogin", QStringList{"Default", "North"}},
    };
    return kArguments.value(window);
}

// The object names below the window that are given more than once; Qt's own parts ("qt_...")
// are not the window's controls.
QStringList repeatedNames(const QWidget& window) {
    QMap<QString, int> seen;
    for (const QObject* child : window.findChildren<QObject*>()) {
        const QString name = child->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) ++seen[name];
    }
    QStringList out;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        if (it.value() > 1) out << it.key();
    return out;
}

class WindowTable : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        // The start-up windows reach the main window through the port: here it has none, so
        // that no main window outlives the case.
        before = MainWindowPort::instance();
        MainWindowPort::install(&main);
        tablestest::writeMirror(home);
        testsupport::FakeSite::addServerTables(server);
        // Whatever a window tells while it is made is not what this test is about.
        for (int i = 0; i < 8; ++i) prompter.ok();
        prompter.allowUnusedAnswers();
    }
    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        MainWindowPort::install(before);
    }

    testsupport::TempHome home;
    testsupport::FakeSite site;
    testsupport::FakeServer server;
    testsupport::ScriptedPrompter prompter;
    testsupport::RecordingViewer viewer;
    testsupport::NullMainWindow main;
    MainWindowPort* before = nullptr;
};

TEST_P(WindowTable, TheMadeWindowCarriesItsEntrysNameAndItsControlsDistinctNames) {
    const QString name = QString::fromStdString(GetParam());
    const WindowEntry* entry = WindowRegistry::forWindow(name);
    ASSERT_NE(entry, nullptr);
    std::unique_ptr<QWidget> window(entry->create(nullptr, argumentFor(name)));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName().toStdString(), GetParam());
    const QStringList repeated = repeatedNames(*window);
    EXPECT_TRUE(repeated.isEmpty()) << repeated.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Entries, WindowTable, ::testing::ValuesIn(windowNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
