// The live call-log monitor end to end, on the stand-in server: what the server logs shows in
// the main window, and the tail command's own echo does not.
#include "MenuTestSupport.h"
#include "menu/MonitorPane.h"
#include "menu/fMain.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

#include "common/Globals.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTextEdit>

using testsupport::control;

using quillon::fMain;
using quillon::G;

namespace {

using menutest::OpenedWindows;

class MonitorSimTest : public testsupport::SimTest {
protected:
    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    OpenedWindows opened;
};

using testsupport::waitFor;

TEST_F(MonitorSimTest, CallLogShowsWhatTheServerLogsAfterTheEcho) {
    testsupport::SimServer::configureSite(1);
    G().g_CurSite = 1;
    testsupport::SimServer::writeSiteFile(QStringLiteral("COLL.LOG"), QByteArray());
    fMain* w = fMain::instance();
    control<QComboBox>(w, "cboSites")->addItems({"Default", "Site1"});
    control<QComboBox>(w, "cboSites")->setCurrentIndex(1);

    w->callLogPane().reconnect();
    ASSERT_TRUE(waitFor([] { return G().g_CallLogState == QStringLiteral("PRINT"); }, 20000))
        << "the echo of the tail command never came; state " << G().g_CallLogState.toStdString();

    {
        QFile log(testsupport::SimServer::siteDir() + QStringLiteral("/COLL.LOG"));
        ASSERT_TRUE(log.open(QIODevice::Append));
        log.write("0912 1405 201 5551234 00:01:10\n");
    }
    const bool arrived = waitFor(
        [w] {
            return control<QTextEdit>(w, "txtCOLL")
                ->toPlainText()
                .contains(QStringLiteral("5551234 00:01:10"));
        },
        20000);
    const QString text = control<QTextEdit>(w, "txtCOLL")->toPlainText();
    fMain::unloadInstance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ASSERT_TRUE(arrived) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("cd "))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("tail -f"))) << text.toStdString();
    EXPECT_TRUE(text.startsWith(QLatin1Char('\n'))) << text.toStdString();
    EXPECT_TRUE(prompter.prompts().empty());
}

}  // namespace
