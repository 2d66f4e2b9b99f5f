// What the backup windows say, text by text: the two menus with their picture buttons'
// captions, the backup window, the restore list and the two tick lists with their column
// headers and hints, the list of reports to pull back, and the words and dots of each progress
// label while the server is slow.
#include "maintenance/BackupLists.h"
#include "maintenance/BackupMenus.h"
#include "maintenance/fbackup.h"
#include "menu/Reports.h"

#include "common/Globals.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/Modal.h"
#include "support/ProgramWindows.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "support/WindowTexts.h"
#include "widgets/SortableGrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QRegularExpression>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <string>

using namespace quillon;
using testsupport::FakeServer;
using testsupport::FakeSite;
using testsupport::Shown;
using testsupport::TextRow;

namespace {

const QString kBackups = "/usr/varnel/backup";
const QString kArchive = "143005_120908_OFFICE1.tar.gz";
const QByteArray kListing = "143005_120908_OFFICE1.tar.gz,12/9/2008,P,11/09/08,12/09/08,OFFICE1\n";

const testsupport::WindowMakers& makers() {
    static const testsupport::WindowMakers m{
        {"Fbackuprestore", [] { return std::make_unique<Fbackuprestore>(); }},
        {"fmanagebackups", [] { return std::make_unique<fmanagebackups>(); }},
        {"fbackup", [] { return std::make_unique<fbackup>(); }},
        {"frestore", [] { return std::make_unique<frestore>(); }},
        {"fdeletebackups", [] { return std::make_unique<fdeletebackups>(); }},
        {"fbringbackbackups", [] { return std::make_unique<fbringbackbackups>(); }},
        {"Reports", [] { return std::make_unique<Reports>(); }},
    };
    return m;
}

class BackupWindows : public ::testing::Test {
protected:
    BackupWindows() {
        server.addFile(kBackups + "/restore.txt", kListing);
        server.addFile(kBackups + "/diskspace.txt", "40G  12G  28G  30% /dev/sda1\n");
        server.addFile(kBackups + "/" + kArchive, "ARCHIVE");
        server.addFile(FakeSite::folder() + "/reports.txt", "TESTPC_DETAIL.rep\n");
    }
    ~BackupWindows() override { G().g_BackupReportsMode = false; }

    testsupport::TempHome home;
    FakeSite site;
    FakeServer server;
    testsupport::ScriptedPrompter prompter;
};

class BackupTexts : public BackupWindows, public ::testing::WithParamInterface<TextRow> {};

TEST_P(BackupTexts, StandAsTheUserMustSeeThem) {
    testsupport::expectShownText(makers(), GetParam());
}

// A column header of a backup list.
TextRow headerOf(const char* window, int column, const char* text) {
    return {window, "MSFlexGrid1", Shown::Header, column, text};
}

INSTANTIATE_TEST_SUITE_P(
    Windows, BackupTexts,
    ::testing::Values(
        TextRow{"Fbackuprestore", "", Shown::Caption, 0, "Backup/Restore Menu"},
        TextRow{"Fbackuprestore", "lblbackupcalls", Shown::Text, 0, "Backup Calls"},
        TextRow{"Fbackuprestore", "lblrestorecalls", Shown::Text, 0, "Restore Calls"},
        TextRow{"Fbackuprestore", "lblmanagebackups", Shown::Text, 0, "Manage Backups"},
        TextRow{"Fbackuprestore", "cmdbackup", Shown::Text, 0, ""},
        TextRow{"Fbackuprestore", "cmdrestore", Shown::Text, 0, ""},
        TextRow{"Fbackuprestore", "cmdmaintance", Shown::Text, 0, ""},
        TextRow{"fmanagebackups", "", Shown::Caption, 0, "Manage Backups "},
        TextRow{"fmanagebackups", "Label2", Shown::Text, 0, "Delete Backups"},
        TextRow{"fmanagebackups", "Label1", Shown::Text, 0, "Pull Back Backups"},
        // Making a backup.
        TextRow{"fbackup", "", Shown::Caption, 0, "Backup"},
        TextRow{"fbackup", "Optdate_0", Shown::Text, 0, "All Calls In the System"},
        TextRow{"fbackup", "Optdate_1", Shown::Text, 0, "Date Range"},
        TextRow{"fbackup", "Lblstartdate", Shown::Text, 0, "Start Date"},
        TextRow{"fbackup", "Label3", Shown::Text, 0, "End Date"},
        TextRow{"fbackup", "cmdbackup", Shown::Text, 0, "Backup"},
        // The restore list.
        TextRow{"frestore", "", Shown::Caption, 0, "Restore Calls "},
        TextRow{"frestore", "Label1", Shown::Text, 0,
                "Double click on the backup you want to restore"},
        TextRow{"frestore", "Command1", Shown::Text, 0, "&Restore"},
        TextRow{"frestore", "cmdcancel", Shown::Text, 0, "&Cancel"},
        headerOf("frestore", 0, "File Name "), headerOf("frestore", 1, "Created Date"),
        headerOf("frestore", 2, "Back Type"), headerOf("frestore", 3, "Start Date"),
        headerOf("frestore", 4, "End Date"),
        headerOf("frestore", 5, "Machine Name that created backup"),
        // Deleting backups.
        TextRow{"fdeletebackups", "", Shown::Caption, 0, "Delete Backups"},
        TextRow{"fdeletebackups", "Label1", Shown::Text, 0,
                "Click on the box under select for the backups you want to delete"},
        TextRow{"fdeletebackups", "Label2", Shown::Text, 0, "HD Size        Space Remaining  "},
        TextRow{"fdeletebackups", "Command1", Shown::Text, 0, "RUN"},
        TextRow{"fdeletebackups", "cmdcancel", Shown::Text, 0, "&Cancel"},
        headerOf("fdeletebackups", 0, "Select"), headerOf("fdeletebackups", 1, "File Name "),
        headerOf("fdeletebackups", 2, "Created Date"), headerOf("fdeletebackups", 3, "Back Type"),
        headerOf("fdeletebackups", 4, "Start Date"), headerOf("fdeletebackups", 5, "End Date"),
        headerOf("fdeletebackups", 6, "Created On"),
        // Bringing backups back.
        TextRow{"fbringbackbackups", "", Shown::Caption, 0, "Bring Back Backups"},
        TextRow{"fbringbackbackups", "Label1", Shown::Text, 0,
                "Click on the box under select for the backups you want to bring back to your "
                "local machine"},
        TextRow{"fbringbackbackups", "Command1", Shown::Text, 0, "RUN"},
        TextRow{"fbringbackbackups", "cmdcancel", Shown::Text, 0, "&Cancel"},
        headerOf("fbringbackbackups", 0, "Select"), headerOf("fbringbackbackups", 1, "File Name "),
        headerOf("fbringbackbackups", 2, "Created Date"),
        headerOf("fbringbackbackups", 3, "Back Type"),
        headerOf("fbringbackbackups", 4, "Start Date"),
        headerOf("fbringbackbackups", 5, "End Date"),
        headerOf("fbringbackbackups", 6, "Created On"),
        // Pulling back the reports last run.
        TextRow{"Reports", "", Shown::Caption, 0, "Pull Back Last Reports Ran"},
        TextRow{"Reports", "Label1", Shown::Text, 0, "Double click on the report you want to view"},
        TextRow{"Reports", "cmdcancel", Shown::Text, 0, "&Cancel"}),
    testsupport::rowName);

using testsupport::closeWhenShown;

// Each window's progress while the server holds its work: the label, its first and longest
// text, and how the work starts and is held.
struct ProgressCase {
    const char* window;
    const char* first;
    const char* longest;
    std::function<void(FakeServer&, const std::function<void()>&)> hold;
    std::function<void(QWidget&, testsupport::ScriptedPrompter&)> start;
};
void PrintTo(const ProgressCase& c, std::ostream* os) {
    *os << c.window;
}

class BackupProgress : public BackupWindows, public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(BackupProgress, RunsToItsLongestTextAndStartsAgain) {
    const ProgressCase& c = GetParam();
    const auto window = makers().at(c.window)();
    window->show();
    QStringList round;
    c.hold(server,
           [&] { round = testsupport::progressRound(window.get(), "lblrunning", c.longest); });
    prompter.allowUnusedAnswers();
    c.start(*window, prompter);
    EXPECT_EQ(round.join('|').toStdString(),
              testsupport::dotsFrom(c.first, c.longest).join('|').toStdString());
}

std::function<void(FakeServer&, const std::function<void()>&)> line(const char* pattern) {
    return [pattern](FakeServer& s, const std::function<void()>& look) {
        testsupport::lookWhileHeld(s, QRegularExpression(pattern), look);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Windows, BackupProgress,
    ::testing::Values(
        ProgressCase{"Fbackuprestore", "Retrieving Backups List.", "Retrieving Backups List...",
                     line("^cat \\*\\.info"),
                     [](QWidget& w, testsupport::ScriptedPrompter& p) {
                         p.ok().ok();
                         closeWhenShown("frestore");
                         testsupport::control<QAbstractButton>(&w, "cmdrestore")->click();
                     }},
        ProgressCase{"fmanagebackups", "Retrieving Backups List.", "Retrieving Backups List...",
                     line("^cat \\*\\.info"),
                     [](QWidget& w, testsupport::ScriptedPrompter& p) {
                         p.ok().ok();
                         closeWhenShown("fdeletebackups");
                         testsupport::control<QAbstractButton>(&w, "cmddeletebackups")->click();
                     }},
        ProgressCase{"fbackup", "Backup Running.", "Backup Running..........", line("CALL_PUT5"),
                     [](QWidget& w, testsupport::ScriptedPrompter& p) {
                         p.ok().ok();
                         testsupport::control<QAbstractButton>(&w, "cmdbackup")->click();
                     }},
        ProgressCase{"frestore", "Restoring Calls.", "Restoring Calls...........", line("^gunzip "),
                     [](QWidget& w, testsupport::ScriptedPrompter& p) {
                         p.yes().ok().no();
                         testsupport::control<SortableGrid>(&w, "MSFlexGrid1")->setCurrentRow(1);
                         testsupport::control<QAbstractButton>(&w, "Command1")->click();
                     }},
        ProgressCase{"fdeletebackups", "PROCESSING.", "PROCESSING...........", line("^sudo rm -f "),
                     [](QWidget& w, testsupport::ScriptedPrompter& p) {
                         p.yes().ok();
                         testsupport::control<SortableGrid>(&w, "MSFlexGrid1")->setTicked(1, true);
                         testsupport::control<QAbstractButton>(&w, "Command1")->click();
                     }},
        ProgressCase{"fbringbackbackups", "PROCESSING.", "PROCESSING...........",
                     [](FakeServer& s, const std::function<void()>& look) {
                         testsupport::lookWhileFetchHeld(s, kBackups + "/" + kArchive, look);
                     },
                     [](QWidget& w, testsupport::ScriptedPrompter& p) {
                         p.ok().ok();
                         testsupport::control<SortableGrid>(&w, "MSFlexGrid1")->setTicked(1, true);
                         testsupport::control<QAbstractButton>(&w, "Command1")->click();
                     }}),
    [](const auto& info) { return std::string(info.param.window); });

}  // namespace
