// "Pull Back Last Reports Ran" end to end, on the stand-in server: the list made by the server's
// shell, and a report fetched from the backup folder.
#include "MenuTestSupport.h"
#include "menu/Reports.h"
#include "support/ProgramWindows.h"

#include "RecordingViewer.h"
#include "ScriptedPrompter.h"
#include "SimServer.h"
#include "TempHome.h"
#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "menu/fMain.h"
#include "reports/common/ReportTable.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRandomGenerator>

#include <ostream>

using namespace quillon;
using testsupport::SimServer;

namespace {

using menutest::listed;
using menutest::readFile;

const QDateTime kDecember9th(QDate(2026, 12, 9), QTime(14, 30));

// True when `expected` stands in `lines` in this order (other tests' lines may come between).
bool inOrder(const QStringList& lines, const QStringList& expected) {
    qsizetype next = 0;
    for (const QString& line : lines)
        if (next < expected.size() && line == expected[next]) ++next;
    return next == expected.size();
}

// The list window on the stand-in server's site "Sim" (site 1), with the clock at
// 9 December 14:30 and US short date forms for the pricing report.
class ReportsWindowSimTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        SimServer::configureSite(1);
        reports = home.file(QStringLiteral("Sim/Download/reports"));
    }
    void TearDown() override {
        for (const QString& f : serverFiles) SimServer::removeSiteFile(f);
        QLocale::setDefault(QLocale::system());
        SimTest::TearDown();
    }
    void serverFile(const QString& relative, const QByteArray& bytes) {
        SimServer::writeSiteFile(relative, bytes);
        serverFiles << relative;
    }
    // A server folder of its own, with an empty backup subfolder, used in backup mode.
    QString ownBackupFolder() {
        const QString name =
            QStringLiteral("retrieval-%1").arg(QRandomGenerator::global()->generate());
        serverFile(name + QStringLiteral("/backup/.keep"), {});
        serverFiles.prepend(name);  // removed last, with everything in it
        G().g_SiteHomedir[1] = SimServer::siteDir() + QLatin1Char('/') + name;
        G().g_BackupReportsMode = true;
        return name;
    }
    QString report(const QString& name) const { return reports + QLatin1Char('/') + name; }
    // Picks the item and double-clicks it as the user does.
    static void doubleClick(Reports& window, const QString& name) {
        menutest::doubleClick(window.lstDivision, name);
    }

    testsupport::TempHome home;
    quillon::SettableClock programClock{kDecember9th};
    testsupport::ScriptedPrompter prompter;
    testsupport::RecordingViewer viewer;
    menutest::MainWindowOnSite main{QStringLiteral("Sim")};
    QString reports;
    QStringList serverFiles;
};

TEST_F(ReportsWindowSimTest, ListsTheServersReportsAsItsShellLinesMadeThem) {
    serverFile(QStringLiteral("RW_A.rep"), "a\n");
    serverFile(QStringLiteral("RW_B.rep"), "b\n");
    // Names that could reach outside the site folder are not offered.
    serverFile(QStringLiteral("RW..up.rep"), "x\n");
    serverFile(QStringLiteral("RW\\back.rep"), "x\n");
    serverFile(QStringLiteral("RW_not_a_report.txt"), "x\n");
    serverFiles << QStringLiteral("reports.txt");

    Reports window;

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Pull Back Last Reports Ran"));
    EXPECT_TRUE(inOrder(
        SimServer::shellLines(),
        {QStringLiteral("cd '/usr/varnel'"), QStringLiteral("sudo chgrp 'varneltail' reports.txt"),
         QStringLiteral("sudo chown 'varneltail' reports.txt"),
         QStringLiteral("sudo chmod 666 reports.txt"),
         QStringLiteral("sudo ls -1 *.rep > reports.txt")}))
        << SimServer::shellLines().join(QLatin1Char('\n')).toStdString();

    // The list is the server's reports.txt, line for line, less the unsafe names.
    QStringList server = QString::fromLatin1(SimServer::readSiteFile(QStringLiteral("reports.txt")))
                             .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_TRUE(server.contains(QStringLiteral("RW..up.rep")));
    server.removeAll(QStringLiteral("RW..up.rep"));
    server.removeAll(QStringLiteral("RW\\back.rep"));
    EXPECT_EQ(listed(window.lstDivision), server);
    EXPECT_TRUE(server.contains(QStringLiteral("RW_A.rep")));
    EXPECT_TRUE(server.contains(QStringLiteral("RW_B.rep")));
    EXPECT_FALSE(server.contains(QStringLiteral("RW_not_a_report.txt")));

    // Kept on the PC converted; the fetched Unix copy is gone.
    EXPECT_TRUE(
        readFile(report(QStringLiteral("reports.txt"))).contains("RW_A.rep\r\nRW_B.rep\r\n"));
    EXPECT_FALSE(QFile::exists(report(QStringLiteral("reportsunix.txt"))));
    EXPECT_TRUE(prompter.prompts().empty());
}

TEST_F(ReportsWindowSimTest, BackupModeListsAndFetchesTheBackupFolder) {
    const QString folder = ownBackupFolder();
    serverFile(folder + QStringLiteral("/backup/RW_OLD.rep"), "from the backup\n");
    serverFile(folder + QStringLiteral("/RW_OLD.rep"), "from the site folder\n");
    serverFile(folder + QStringLiteral("/RW_TOP.rep"), "top\n");

    Reports window;

    EXPECT_TRUE(SimServer::shellLines().contains(QStringLiteral("cd '/usr/varnel/") + folder +
                                                 QStringLiteral("/backup'")));
    EXPECT_EQ(listed(window.lstDivision), QStringList{QStringLiteral("RW_OLD.rep")});

    prompter.filePath(report(QStringLiteral("old.rtf")));
    doubleClick(window, QStringLiteral("RW_OLD.rep"));
    EXPECT_EQ(readFile(report(QStringLiteral("old.rtf"))), QByteArray("from the backup\n"));
}

}  // namespace
