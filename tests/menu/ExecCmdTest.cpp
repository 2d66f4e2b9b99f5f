#include "menu/ExecCmd.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

#include "RecordingViewer.h"
#include "ScriptedPrompter.h"
#include "TempHome.h"
#include "menu/fMain.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStatusBar>

using testsupport::control;

using namespace quillon;

namespace {

TEST(ExecCmd, RunsTheLineAndShowsItInTheStatusBar) {
    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    testsupport::RecordingViewer viewer;
    fMain* main = fMain::instance();
    ExecCmd(*main, QStringLiteral("\"/opt/my tools/0update.bat\" now"));
    EXPECT_EQ(viewer.ran, QStringList{QStringLiteral("/opt/my tools/0update.bat now")});
    EXPECT_EQ(control<QStatusBar>(main, "Status")->currentMessage(),
              QStringLiteral("Running  Report...Done."));
    fMain::unloadInstance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
