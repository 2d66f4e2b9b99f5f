// A site whose name cannot name a folder ("../North", "a/b"): every window that would build a
// local path from it tells the refusal and makes, reads and writes no file, anywhere, and sends
// nothing to the server.
#include "maintenance/BackupLists.h"
#include "rates/fcallcalc.h"

#include "common/SiteContext.h"
#include "platform/SystemInfo.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "widgets/KeyedPickList.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QLineEdit>

#include <functional>
#include <ostream>

using namespace quillon;

namespace {

struct SiteWindow {
    const char* name;
    // Opens the window and starts what it does with the site's local files.
    std::function<void()> run;
};

void PrintTo(const SiteWindow& w, std::ostream* os) {
    *os << w.name;
}

class UnusableSiteFiles : public ::testing::TestWithParam<std::tuple<SiteWindow, const char*>> {};

// Every file and folder below `root`, as paths relative to it.
QStringList everything(const QString& root) {
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

TEST_P(UnusableSiteFiles, TheRefusalIsToldAndNoFileIsMade) {
    const auto& [window, siteName] = GetParam();
    testsupport::TempHome home;
    // The program folder one level down, so that a name leading upwards has something to hit.
    const QString program = home.file("program");
    QDir().mkpath(program);
    platform::SystemInfo::setProgramFolder(program);
    testsupport::FakeSite site;
    FixedSite unusable(testsupport::FakeSite::kIndex, QString::fromLatin1(siteName));
    SiteContext::install(&unusable);
    testsupport::FakeServer server;
    testsupport::ScriptedPrompter prompter;
    prompter.allowUnusedAnswers().ok().ok().ok();

    window.run();

    EXPECT_TRUE(prompter.messages().contains(unusableSiteText(siteName, -1)))
        << prompter.messages().join(" | ").toStdString();
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_EQ(everything(home.path()), QStringList{"program"});
}

INSTANTIATE_TEST_SUITE_P(
    Windows, UnusableSiteFiles,
    ::testing::Combine(
        ::testing::Values(SiteWindow{"CallCalculator",
                                     [] {
                                         fcallcalc w;
                                         w.cboDivision->setEntries({{"0001", "0001 Line"}});
                                         w.cboDivision->setCurrentIndex(0);
                                         w.txtarea->setText("617");
                                         w.txtprefix->setText("555");
                                         w.txtduration->setText("5");
                                         w.Command1_Click();
                                     }},
                          SiteWindow{"RestoreList", [] { frestore w; }},
                          SiteWindow{"BringBackList", [] { fbringbackbackups w; }},
                          SiteWindow{"DeleteBackupsList", [] { fdeletebackups w; }}),
        ::testing::Values("../North", "a/b")),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::string(std::get<1>(info.param)) == "a/b" ? "_Slash" : "_Upwards");
    });

}  // namespace
