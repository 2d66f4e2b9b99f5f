// Every family of server work against every fault a server can show, on the stand-in server
// reached through a relay that can stall or cut the connection: the server down, the login
// refused, a changed host key, a stall in the middle of a line and of a transfer, the session
// killed in the middle of a line, a deadline passed. Each run ends within its deadlines with a
// message that names what failed, leaves no truncated or stale file where a good one is
// expected, and leaves the window (or the pull) ready for the next try.
//
// A family is one row of families(), a fault one row of faults(); a pair that cannot happen (a
// stall in the middle of a line of a family that sends no line) is left out where the pairs
// are made.
#include "support/Controls.h"
#include "support/ProgramWindows.h"

#include "HardeningSite.h"
#include "access/AccessFiles.h"
#include "access/PasswordWindows.h"
#include "access/frmLogin.h"
#include "access/frmPermissions.h"
#include "access/frmdeluser.h"
#include "access/frmmodusers.h"
#include "common/ButtonCatalogue.h"
#include "common/CommonFunctions.h"
#include "common/ProgramClock.h"
#include "common/TableMirror.h"
#include "maintenance/BackupLists.h"
#include "maintenance/fbackup.h"
#include "menu/ErrorFiles.h"
#include "menu/LiveMonitor.h"
#include "menu/MonitorPane.h"
#include "menu/Reports.h"
#include "menu/fMain.h"
#include "rates/fcallcalc.h"
#include "remote/FileTransferSession.h"
#include "remote/TablePull.h"
#include "reports/common/ReportRun.h"
#include "reports/common/ReportTable.h"
#include "reports/selection/fDetailReport.h"
#include "support/RecordingViewer.h"
#include "support/ScriptedPrompter.h"
#include "support/ServerFaults.h"
#include "support/SimServer.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "tables/DivisionForms.h"
#include "utilities/TestCall.h"
#include "utilities/fhobiccall.h"
#include "utilities/frmprintjobs.h"
#include "widgets/KeyedPickList.h"
#include "widgets/ListPair.h"
#include "widgets/LongWaitCancel.h"
#include "widgets/ProgressLabel.h"
#include "widgets/SortableGrid.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <ostream>
#include <tuple>
#include <vector>

using testsupport::control;

using namespace quillon;
using hardening::fileBytes;
using hardening::HardeningSite;
using testsupport::SimServer;

namespace {

// The deadlines the cases run with: connect and transfer, one line, a report, an answer.
constexpr int kTransferSec = 4;
constexpr int kLineSec = 3;
constexpr int kReportSec = 4;
constexpr int kAnswerSec = 4;
// A backup's or restore's long steps (the server's programs, tar, gzip).
constexpr int kBackupSec = 4;
// The deadline a fault is meant to pass (a stalled line, a server that never answers the
// connect): short, as the wait for it is all such a case costs.
constexpr int kStruckSec = 2;
// A run waits for at most a few of them in a row; more than this is a hang.
constexpr int kLongestRunMs = 25000;
// Large enough that a relay stalled after kStallAfter bytes cuts it off in its middle.
constexpr int kBigFile = 3'000'000;
constexpr qint64 kStallAfter = 1'000'000;

QByteArray withCrLf(QByteArray lf) {
    lf.replace("\r\n", "\n");
    return lf.replace("\n", "\r\n");
}

class ServerFaultSimTest;

struct Family {
    const char* name;
    // The journal entry of its line that a fault may strike while it runs; nullptr: it sends no
    // line (a transfer only).
    const char* midLine;
    // Keeps that line under way long enough for the fault to strike it; null: every line waits
    // a second (the shell's line.delay knob).
    std::function<void(ServerFaultSimTest&)> slowLine;
    // Makes what it fetches large enough to be cut off in the middle; null: nothing that large.
    std::function<void(ServerFaultSimTest&)> bigTransfer;
    // Makes its own deadline pass (a report that runs too long, an answer that never comes);
    // null: the connect deadline, against a server that accepts and never answers.
    std::function<void(ServerFaultSimTest&)> pastDeadline;
    // Runs the work and returns what the user was told; checks its own files and window.
    std::function<QStringList(ServerFaultSimTest&)> run;
    // What the message names besides the fault: the work that failed, as a pattern (case
    // ignored); nullptr: not checked.
    const char* work = nullptr;
};

struct Fault {
    const char* name;
    const char* said;  // what the message says, as a pattern (case ignored)
    std::function<void(ServerFaultSimTest&, const Family&)> arrange;
    bool needsLine = false;
    bool needsBigTransfer = false;
};

void PrintTo(const Family& f, std::ostream* os) {
    *os << f.name;
}
void PrintTo(const Fault& f, std::ostream* os) {
    *os << f.name;
}

class ServerFaultSimTest : public hardening::HardeningTest,
                           public ::testing::WithParamInterface<std::tuple<Family, Fault>> {
protected:
    void SetUp() override {
        HardeningTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        relay = std::make_unique<testsupport::StallProxy>(SimServer::port());
        G().g_SiteSSHPort[HardeningSite::kIndex] = QString::number(relay->port());
        G().g_FtpTimeout = kTransferSec;
        writeSettings();
        ReportRun::setReportDeadlineSec(kReportSec);
        home.write("North/Bats/div.csv", "3,Operations\r\n");
        home.write("North/Bats/ext.csv", "12,Front Desk\r\n");
    }
    void TearDown() override {
        ReportRun::setReportDeadlineSec(0);
        for (const QPointer<QTimer>& t : triggers) delete t.data();
        if (fMain::isLoaded()) fMain::unloadInstance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QString& f : cleanUp) QFile::remove(f);
        for (const QString& f : loginFolderFiles) SimServer::removeSiteFile(f);
        relay.reset();
        silent.reset();
        SimServer::clearKnobs();
        HardeningTest::TearDown();
    }

public:
    // Acts once the journal shows an entry that begins with `entry`, while the work waits.
    void whenJournalShows(const QString& entry, std::function<void()> act) {
        auto* timer = new QTimer(qApp);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, entry, act] {
            for (const QString& line : SimServer::journal())
                if (line.startsWith(entry)) {
                    timer->stop();
                    act();
                    return;
                }
        });
        timer->start(10);
        triggers << timer;
    }
    void slowLine(const Family& f) {
        if (f.slowLine) {
            f.slowLine(*this);
            return;
        }
        SimServer::setKnob("line.delay", "1");
        // Only the struck line waits, where the server knows how.
        const QString entry = QString::fromLatin1(f.midLine);
        if (entry.startsWith("SHELL ")) SimServer::setKnob("line.delay_on", entry.mid(6));
    }
    // The program's settings with the suites' deadlines.
    void writeSettings(int lineSec = kLineSec, int answerSec = kAnswerSec,
                       int backupSec = kBackupSec) {
        const QString ini =
            QStringLiteral("[Sites]\r\nLineTimeout=%1\r\nAnswerTimeout=%2\r\nBackupTimeout=%3\r\n")
                .arg(lineSec)
                .arg(answerSec)
                .arg(backupSec);
        home.write("KTReports.ini", ini.toLatin1());
    }
    // Every deadline a fault may make pass is short: waiting for it is all such a case costs.
    void shortDeadlines() {
        writeSettings(kStruckSec, kStruckSec, kStruckSec);
        ReportRun::setReportDeadlineSec(kStruckSec);
        G().g_FtpTimeout = kStruckSec;
    }
    // The messages of a window's earlier step are kept, and the next step scripts its answers
    // afresh (a step that told nothing leaves its answer unused).
    void nextStep() {
        told += prompter.messages();
        prompter.reset();
        prompter.allowUnusedAnswers();
    }
    QStringList said() const { return told + prompter.messages(); }
    // A file in the file-transfer login's own folder (not the suites' site folder), as an
    // earlier run may have left it there; removed when the case ends.
    void plantLoginFolderFile(const QString& name, const QByteArray& bytes) {
        SimServer::writeSiteFile(name, bytes);
        loginFolderFiles << name;
    }
    // A request in place on the server is whole: what the answerer may take up at once.
    static void expectWholeRequests() {
        QDir dir(HardeningSite::folder());
        for (const QString& f : dir.entryList({"*.todo"}, QDir::Files)) {
            const QByteArray request = fileBytes(dir.filePath(f));
            EXPECT_TRUE(!request.isEmpty() && request.endsWith('\n'))
                << "a request in place holds part of one: " << f.toStdString();
        }
    }
    // The connect then meets a server that accepts and never says a word.
    void silentServer() {
        silent = std::make_unique<testsupport::StallProxy>(0);
        G().g_SiteSSHPort[HardeningSite::kIndex] = QString::number(silent->port());
    }
    // A file written on the server for one case, removed when it ends.
    void writeServerFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        f.write(bytes);
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                         QFile::WriteGroup | QFile::ReadOther);
        cleanUp << path;
    }

    // Every table of the mirror is the server's whole (LF as CR LF), or is missing; nothing
    // else lies in the folder (a partial name, a half file).
    void expectMirrorWholeOrMissing() {
        const QString folder = siteTableFolder(HardeningSite::name());
        QStringList allowed;
        for (const QString& t : mirrorTables()) allowed << t + ".csv" << t + "unix.csv";
        for (const QString& f : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
            if (!allowed.contains(f)) {
                // A mirror of the case's own set-up, as the windows read it.
                if (f == QStringLiteral("div.csv") || f == QStringLiteral("ext.csv")) continue;
                ADD_FAILURE() << "left in the mirror: " << f.toStdString();
            }
        }
        for (const QString& t : mirrorTables()) {
            const QString working = folder + "/" + t + ".csv";
            if (!QFile::exists(working)) continue;
            const QByteArray server = fileBytes(HardeningSite::file(t + ".csv"));
            const QByteArray local = fileBytes(working);
            // The case's own set-up of div and ext stays until a pull replaces it.
            if (t == "div" && local == "3,Operations\r\n") continue;
            if (t == "ext" && local == "12,Front Desk\r\n") continue;
            EXPECT_EQ(local, withCrLf(server)) << t.toStdString() << " is not the server's whole";
        }
    }

    testsupport::RecordingViewer viewer;
    std::unique_ptr<testsupport::StallProxy> relay;
    std::unique_ptr<testsupport::StallProxy> silent;
    QStringList cleanUp;
    QStringList loginFolderFiles;
    QStringList told;
    QList<QPointer<QTimer>> triggers;
    QString loginUser = QStringLiteral("alice");
    quillon::SettableClock programClock{QDateTime(QDate(2026, 12, 9), QTime(14, 30))};
};

// ---- the families ----------------------------------------------------------------------------

Family tablePull() {
    return {"TablePull",
            nullptr,
            {},
            [](ServerFaultSimTest& t) {
                QByteArray big;
                while (big.size() < kBigFile) big += "10000,Station 10000,100,1.00,0,0,1,\n";
                t.writeServerFile(HardeningSite::file("ext.csv"), big);
            },
            {},
            [](ServerFaultSimTest& t) {
                const TableMirrorResult r = RefreshSiteTables(
                    HardeningSite::name(), filesRequestForSite(HardeningSite::kIndex),
                    HardeningSite::folder());
                EXPECT_FALSE(r.ok);
                t.expectMirrorWholeOrMissing();
                // The pull's guard is free again: a next pull runs (and fails fast here).
                FilesRequest dead = filesRequestForSite(HardeningSite::kIndex);
                dead.target.port = testsupport::closedPort();
                const TableMirrorResult again =
                    RefreshSiteTables(HardeningSite::name(), dead, HardeningSite::folder());
                EXPECT_FALSE(again.error.contains("already running")) << again.error.toStdString();
                return QStringList{r.error};
            }};
}

Family errorPull() {
    return {"ErrorPull",
            nullptr,
            {},
            [](ServerFaultSimTest& t) {
                t.writeServerFile(SimServer::siteDir() + "/" + serverErrorFiles().first(),
                                  QByteArray(kBigFile, 'e'));
            },
            {},
            [](ServerFaultSimTest&) {
                const QString folder = errorFolder(HardeningSite::name());
                QDir().mkpath(folder);
                const ErrorPullResult r =
                    pullErrorFiles(filesRequestForSite(HardeningSite::kIndex), folder);
                EXPECT_FALSE(r.completed);
                EXPECT_FALSE(errorPullRunning());
                // Every copy there is the server's whole file.
                for (const QString& f : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
                    const QString server = serverFileOfCopy(f);
                    EXPECT_FALSE(server.isEmpty())
                        << "left in the error folder: " << f.toStdString();
                    if (!server.isEmpty())
                        EXPECT_EQ(fileBytes(folder + "/" + f),
                                  fileBytes(SimServer::siteDir() + "/" + server))
                            << f.toStdString();
                }
                return QStringList{r.error};
            }};
}

Family reportRun() {
    return {"ReportRun",
            "CALL ORV_B1",
            [](ServerFaultSimTest&) { SimServer::setKnob("ORV_B1.delay", "2"); },
            [](ServerFaultSimTest&) {
                SimServer::setKnob("ORV_B1.report_pad", QString::number(kBigFile));
            },
            [](ServerFaultSimTest&) {
                SimServer::setKnob("ORV_B1.delay", QString::number(kReportSec + 4));
            },
            [](ServerFaultSimTest& t) {
                fMain* main = fMain::instance();
                control<QComboBox>(main, "cboSites")->addItems({"Default", HardeningSite::name()});
                control<QComboBox>(main, "cboSites")->setCurrentIndex(HardeningSite::kIndex);
                fDetailReport w;
                w.show();
                const auto found = w.lstDivision->findItems("0012 Front Desk", Qt::MatchExactly);
                EXPECT_EQ(found.size(), 1);
                if (!found.isEmpty()) {
                    w.lstDivision->setCurrentItem(found.first());
                    w.cmdadd->click();
                }
                t.prompter.ok().ok().ok();
                w.Command1_Click();
                EXPECT_TRUE(t.viewer.opened.isEmpty());
                // No report, whole or cut short, in the site's folders.
                const QStringList reports =
                    QDir(t.home.file("North/Download/reports")).entryList(QDir::Files);
                EXPECT_TRUE(reports.isEmpty()) << reports.join(' ').toStdString();
                for (const QString& f : QDir(t.home.file("North")).entryList(QDir::Files))
                    ADD_FAILURE() << "left in the site folder: " << f.toStdString();
                // A run that failed gives its Run button back; one that ended well handed the
                // report over and closed, and the fetch was the main window's.
                if (w.result() != QDialog::Accepted) {
                    EXPECT_TRUE(w.Command1->isEnabled());
                    EXPECT_TRUE(w.Command1->isVisibleTo(&w));
                    EXPECT_FALSE(w.lblrunning->isVisibleTo(&w));
                }
                return t.prompter.messages();
            }};
}

Family changeRequest() {
    return {"ChangeRequest",
            "SHELL echo '1,add,div",
            {},
            [](ServerFaultSimTest&) {
                SimServer::setKnob("answer_text", "1," + QString(kBigFile, QLatin1Char('a')));
            },
            [](ServerFaultSimTest&) { SimServer::setKnob("answer_never"); },
            [](ServerFaultSimTest& t) {
                fAddDiv f;
                f.txtdivnumber->setText("62");
                f.txtDivName->setText("Fault");
                t.prompter.ok().ok().ok().ok();
                f.show();
                f.cmdsave_Click();
                EXPECT_TRUE(testsupport::waitFor(
                    [&] {
                        return !f.exchange().busy() &&
                               f.exchange().state() != ChangeExchange::State::Waiting &&
                               f.exchange().state() != ChangeExchange::State::Sending;
                    },
                    kLongestRunMs));
                // No answer copy but the server's whole answer.
                const QString bats = siteTableFolder(HardeningSite::name());
                for (const QString& a :
                     QDir(bats).entryList({"*.done*", ".*"}, QDir::Files | QDir::Hidden))
                    EXPECT_EQ(fileBytes(bats + "/" + a), HardeningSite::read(a))
                        << "answer copy " << a.toStdString();
                t.expectMirrorWholeOrMissing();
                EXPECT_FALSE(f.exchange().busy());
                if (f.isVisible()) EXPECT_TRUE(f.cmdsave->isEnabled() || f.cmdcancel->isEnabled());
                return t.prompter.messages();
            }};
}

Family userFiles() {
    return {"UserFiles",
            "SHELL ls -1 ",
            {},
            [](ServerFaultSimTest& t) {
                t.loginUser = QStringLiteral("big");
                const QString users = HardeningSite::file("ACL/USERS");
                QDir().mkpath(users);
                // The digest of "secret1", then more than a transfer can take in one piece.
                t.writeServerFile(users + "/BIG.USE",
                                  "E52D98C459819A11775936D8DFBB7929\n" + QByteArray(kBigFile, '#'));
            },
            {},
            [](ServerFaultSimTest& t) {
                fMain::instance()->disableAllButtons();
                auto* login = new frmLogin({QStringLiteral("Default"), HardeningSite::name()});
                login->setAttribute(Qt::WA_DeleteOnClose, false);
                login->cboSites->setCurrentIndex(HardeningSite::kIndex);
                login->show();
                login->txtUserName->setText(t.loginUser);
                login->txtPassword->setText(QStringLiteral("secret1"));
                t.prompter.ok().ok();
                QTest::mouseClick(login->cmdOK, Qt::LeftButton);
                // A fault costs no try, and no copy of the user's files stays.
                EXPECT_EQ(login->wrongPasswordCount(), 0);
                EXPECT_TRUE(login->cmdOK->isEnabled());
                EXPECT_TRUE(login->isVisible());
                const QStringList left =
                    QDir(t.home.file("North/download")).entryList(QDir::Files | QDir::Hidden);
                EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
                delete login;
                return t.prompter.messages();
            }};
}

Family backupRestore() {
    // An archive of the case's own in the site's backup folder, brought back to a computer that
    // holds an older copy of it: the older copy stays whole unless the new one came whole.
    static const QString kArchive = QStringLiteral("120000_120908_FAULTS.tar.gz");
    static const QByteArray kOldCopy = "the copy brought back before\n";
    return {"BackupRestore",
            "SHELL cat *.info",
            {},
            [](ServerFaultSimTest& t) {
                t.writeServerFile(HardeningSite::file("backup/" + kArchive),
                                  QByteArray(kBigFile, 'z'));
            },
            {},
            [](ServerFaultSimTest& t) {
                const QString server = HardeningSite::file("backup/" + kArchive);
                if (!QFile::exists(server)) t.writeServerFile(server, "a small archive\n");
                const QString record = kArchive + ",12/9/2008,A,12/09/08,12/09/08,FAULTS\n";
                t.writeServerFile(server + ".info", record.toLatin1());
                const QString backups = t.home.file("North/Download/backups");
                QDir().mkpath(backups);
                t.home.write("North/Download/backups/" + kArchive, kOldCopy);
                // A list of an earlier opening, which a failed listing must not leave behind.
                t.home.write("North/Download/reports/restore.txt", "stale list\r\n");

                // The list's own message (the fault, or the records it leaves out).
                t.prompter.ok();
                fbringbackbackups w;
                w.show();
                int row = 0;
                for (int r = 1; r <= w.MSFlexGrid1->dataRows(); ++r)
                    if (w.MSFlexGrid1->cell(r, 1) == kArchive) row = r;
                if (row > 0) {
                    w.MSFlexGrid1->setTicked(row, true);
                    t.prompter.yes().ok();  // replace the older copy; the outcome
                    w.Command1_Click();
                }
                // The listing is the server's whole, or gone.
                const QString listing = t.home.file("North/Download/reports/restore.txt");
                if (QFile::exists(listing))
                    EXPECT_EQ(fileBytes(listing),
                              withCrLf(fileBytes(HardeningSite::file("backup/restore.txt"))));
                // The archive on this computer is the older copy or the server's whole; no
                // part of a copy lies beside it.
                const QStringList left = QDir(backups).entryList(QDir::Files | QDir::Hidden);
                EXPECT_EQ(left, QStringList{kArchive}) << left.join(' ').toStdString();
                const QByteArray local = fileBytes(backups + "/" + kArchive);
                if (local != kOldCopy)
                    EXPECT_EQ(local, fileBytes(server)) << "a cut copy kept as the archive";
                // The buttons are back and no wait is offered; a list that stayed open closes.
                EXPECT_TRUE(w.Command1->isEnabled());
                EXPECT_TRUE(w.Command1->isVisibleTo(&w));
                EXPECT_TRUE(w.cmdcancel->isEnabled());
                EXPECT_FALSE(w.lblrunning->isVisibleTo(&w));
                EXPECT_FALSE(w.cmdcancelwait->isOffered());
                if (w.isVisible()) {
                    w.cmdcancel_Click();
                    EXPECT_FALSE(w.isVisible());
                }
                return t.prompter.messages();
            }};
}

Family liveMonitor() {
    // The call-log monitor: a fault while it connects or sends its start lines (the change of
    // folder) is told; a fault once the tail runs looks like a quiet log and is not one of these.
    return {
        "LiveMonitor",
        "SHELL cd ",
        {},  // every line waits a second
        {},  // a tail fetches nothing
        {},  // the connect deadline
        [](ServerFaultSimTest& t) {
            fMain* main = fMain::instance();
            // The main window's site is the one its box shows: the suites' own.
            auto* sites = testsupport::control<QComboBox>(main, "cboSites");
            sites->clear();
            sites->addItems({QStringLiteral("Default"), HardeningSite::name()});
            sites->setCurrentIndex(HardeningSite::kIndex);
            t.prompter.ok();
            main->callLogPane().reconnect();
            EXPECT_TRUE(testsupport::waitFor([&] { return !t.prompter.messages().isEmpty(); },
                                             kLongestRunMs))
                << "nothing told; state " << G().g_CallLogState.toStdString();
            const QStringList said = t.prompter.messages();
            EXPECT_NE(G().g_CallLogState, LiveMonitor::kPrint);

            // Started again once the server is back: it follows the log, and nothing more of
            // the failed session is told.
            QFile::remove(t.home.file("known_hosts"));
            SimServer::clearKnobs();
            SimServer::configureSite(HardeningSite::kIndex, HardeningSite::folder());
            main->callLogPane().reconnect();
            EXPECT_TRUE(testsupport::waitFor(
                [] { return G().g_CallLogState == LiveMonitor::kPrint; }, kLongestRunMs))
                << "not started again; state " << G().g_CallLogState.toStdString();
            EXPECT_FALSE(testsupport::waitFor([&] { return t.prompter.messages() != said; }, 500))
                << t.prompter.messages().join('|').toStdString();
            main->dropMonitors();
            return said;
        }};
}

Family testCall() {
    // The test call: its record echoed into a file, then the program run on it. It fetches
    // nothing; its deadline is the line deadline of the program's line.
    return {"TestCall",
            "CALL ORV_RHOBIC",
            [](ServerFaultSimTest&) { SimServer::setKnob("ORV_RHOBIC.delay", "2"); },
            {},
            [](ServerFaultSimTest&) {
                SimServer::setKnob("ORV_RHOBIC.delay", QString::number(kLineSec + 4));
            },
            [](ServerFaultSimTest& t) {
                fhobiccall w;
                w.show();
                w.cbotime->setCurrentText("3");
                w.cbocharge->setCurrentText("1.00");
                w.txtnumber->setText("411");
                t.prompter.ok();
                w.cmdrun_Click();
                const QStringList said = t.prompter.messages();
                // Told as the test call's failure, never as sent: "not sent" before the program
                // line, "may have been sent" once it went out; the window takes the next try.
                EXPECT_EQ(said.size(), 1) << said.join('|').toStdString();
                EXPECT_TRUE(said.value(0).startsWith("The test call was not sent: ") ||
                            said.value(0).startsWith("The test call may have been sent: "))
                    << said.join('|').toStdString();
                EXPECT_TRUE(w.cmdrun->isEnabled());
                EXPECT_TRUE(w.isVisible());
                return said;
            }};
}

// ---- the families of the backup windows, the utilities and the user administration ----------

// The shell lines of a site's user administration write a user or button file under a hidden
// name and move it into place: a file in place is the old one or the whole new one.
void expectOldOrNew(const QString& relative, const QByteArray& old, const QByteArray& written) {
    const QString path = HardeningSite::file(relative);
    if (!QFile::exists(path)) {
        EXPECT_TRUE(old.isNull()) << relative.toStdString() << " is gone";
        return;
    }
    const QByteArray now = fileBytes(path);
    EXPECT_TRUE(now == old || now == written)
        << relative.toStdString()
        << " holds neither the old nor the new content: " << now.left(80).toStdString();
}

const QByteArray kButtonHeader = "ENABLED BUTTONS DO NOT REMOVE THIS LINE\n";

QByteArray digestLine(const QString& password) {
    return UserFile::digestOf(password).toLatin1() + '\n';
}

Family makeBackup() {
    // The backup gathers the calls, packs and moves the archive and copies it here. Once the
    // archive is on the server a failure names where it lies; "BACKUP COMPLETE" only when the
    // copy here is whole.
    return {"MakeBackup",
            "CALL CALL_PUT5",
            [](ServerFaultSimTest&) { SimServer::setKnob("CALL_PUT5.delay", "2"); },
            [](ServerFaultSimTest& t) {
                // A call file that packs into an archive larger than the relay lets through.
                QByteArray noise(kBigFile, '\0');
                QRandomGenerator gen(33);
                for (char& c : noise) c = char(gen.bounded(256));
                t.writeServerFile(HardeningSite::file("HRDFAULT.DAT"), noise);
            },
            [](ServerFaultSimTest&) {
                SimServer::setKnob("CALL_PUT5.delay", QString::number(kBackupSec + 4));
            },
            [](ServerFaultSimTest& t) {
                const QString backups = t.home.file("North/Download/backups");
                fbackup w;
                w.show();
                w.Optdate[0]->click();
                t.prompter.ok();
                QTest::mouseClick(w.cmdbackup, Qt::LeftButton);
                const QStringList said = t.prompter.messages();
                EXPECT_FALSE(said.contains("BACKUP COMPLETE")) << said.join('|').toStdString();
                // A copy here is the server's whole archive; nothing half lies beside it.
                const QString server = HardeningSite::file("backup");
                for (const QString& f : QDir(backups).entryList(QDir::Files | QDir::Hidden))
                    EXPECT_EQ(fileBytes(backups + "/" + f), fileBytes(server + "/" + f))
                        << "left in the backups folder: " << f.toStdString();
                EXPECT_TRUE(w.cmdbackup->isEnabled());
                EXPECT_TRUE(w.cmdbackup->isVisibleTo(&w));
                EXPECT_FALSE(w.lblrunning->isVisibleTo(&w));
                EXPECT_FALSE(w.cmdcancelwait->isOffered());
                // The archives of this computer's backups go with the case.
                for (const QString& f :
                     QDir(server).entryList({"*" + HardeningSite::pc() + ".tar.gz*"}, QDir::Files))
                    t.cleanUp << server + "/" + f;
                return said;
            },
            "backup|gather the calls|archive"};
}

Family restore() {
    // The restore window lists the backups afresh, then unpacks the chosen one in the backup
    // folder. A listing left from an earlier opening is never shown.
    static const QString kArchive = QStringLiteral("101508_103108_OFFICE1.tar.gz");
    return {"Restore",
            "CALL CALL_GET5",
            [](ServerFaultSimTest&) { SimServer::setKnob("CALL_GET5.delay", "2"); },
            {},
            {},
            [](ServerFaultSimTest& t) {
                t.home.write("North/Download/reports/restore.txt",
                             "999999_999999_STALE.tar.gz,1/1/2000,A,01/01/00,01/01/00,STALE\r\n");
                t.prompter.ok();
                frestore w;
                w.show();
                t.nextStep();
                int row = 0;
                for (int r = 1; r <= w.MSFlexGrid1->dataRows(); ++r) {
                    EXPECT_NE(w.MSFlexGrid1->cell(r, 0), "999999_999999_STALE.tar.gz");
                    if (w.MSFlexGrid1->cell(r, 0) == kArchive) row = r;
                }
                if (row > 0) {
                    w.MSFlexGrid1->setCurrentRow(row);
                    t.prompter.yes().ok();  // restore it; the outcome (or: no reports on it)
                    w.Command1_Click();
                }
                EXPECT_FALSE(G().g_BackupReportsMode);
                // The window takes the next try, or closed after a restore that went well.
                if (w.result() != QDialog::Accepted) {
                    EXPECT_TRUE(w.Command1->isEnabled());
                    EXPECT_TRUE(w.cmdcancel->isEnabled());
                    EXPECT_FALSE(w.lblrunning->isVisibleTo(&w));
                    EXPECT_FALSE(w.cmdcancelwait->isOffered());
                }
                return t.said();
            },
            "restore|list of backups"};
}

Family deleteBackups() {
    static const QString kArchive = QStringLiteral("120000_120908_HRDDEL.tar.gz");
    return {"DeleteBackups",
            "SHELL sudo rm -f 120000_120908_HRDDEL.tar.gz",
            {},
            {},
            {},
            [](ServerFaultSimTest& t) {
                const QString server = HardeningSite::file("backup/" + kArchive);
                t.writeServerFile(server, "an archive to delete\n");
                t.writeServerFile(
                    server + ".info",
                    (kArchive + ",12/9/2008,A,12/09/08,12/09/08,HRDDEL\n").toLatin1());
                t.prompter.ok();
                fdeletebackups w;
                w.show();
                t.nextStep();
                int row = 0;
                for (int r = 1; r <= w.MSFlexGrid1->dataRows(); ++r)
                    if (w.MSFlexGrid1->cell(r, 1) == kArchive) row = r;
                if (row > 0) {
                    w.MSFlexGrid1->setTicked(row, true);
                    t.prompter.yes().ok();
                    w.Command1_Click();
                }
                const QStringList said = t.said();
                // Told deleted only when it is gone.
                if (said.contains("File(s) Deleted")) {
                    EXPECT_FALSE(QFile::exists(server));
                    EXPECT_FALSE(QFile::exists(server + ".info"));
                }
                if (w.isVisible()) {
                    EXPECT_TRUE(w.Command1->isEnabled());
                    EXPECT_TRUE(w.cmdcancel->isEnabled());
                }
                EXPECT_FALSE(w.cmdcancelwait->isOffered());
                return said;
            },
            "backup"};
}

Family printQueue() {
    // The queue listed (lpq into a file that is fetched), then a job removed. A listing of an
    // earlier opening is never shown.
    return {"PrintQueue",
            "CALL lprm",
            [](ServerFaultSimTest&) { SimServer::setKnob("lprm.delay", "2"); },
            {},
            [](ServerFaultSimTest&) {
                SimServer::setKnob("lprm.delay", QString::number(kLineSec + 4));
            },
            [](ServerFaultSimTest& t) {
                SimServer::setKnob("print_queue", "7 root hardening.rep 10\n");
                t.home.write(
                    "North/download/printjobs.rtf",
                    "Rank    Owner   Job     File(s)                         Total Size\r\n"
                    "active  root    99      stale.rep                       10 bytes\r\n");
                t.prompter.ok();
                frmprintjobs w;
                w.show();
                t.nextStep();
                const QStringList listed = w.lists->available().keys();
                EXPECT_FALSE(listed.contains("99")) << listed.join(' ').toStdString();
                if (listed.contains("7")) {
                    w.lists->selectAll();
                    t.prompter.ok();
                    w.Command1_Click();
                }
                // Either still open and taking input, or closed after the removal.
                if (w.isVisible()) EXPECT_TRUE(w.chkrmall->isEnabled());
                return t.said();
            },
            "print"};
}

Family addUser() {
    return {"AddUser",
            "SHELL mv -f .HRDNEW.USE.tmp",
            {},
            {},
            {},
            [](ServerFaultSimTest& t) {
                t.cleanUp << HardeningSite::file("ACL/USERS/HRDNEW.USE")
                          << HardeningSite::file("ACL/BUTTONS/HRDNEW.BUT")
                          << HardeningSite::file("ACL/USERS/.HRDNEW.USE.tmp")
                          << HardeningSite::file("ACL/BUTTONS/.HRDNEW.BUT.tmp");
                fillButtonCatalogue();
                frmPermissions w;
                w.show();
                hardening::fillAddUserForm(w, "hrdnew", "first1");
                t.prompter.ok();
                QTest::mouseClick(w.cmdadduser, Qt::LeftButton);
                const QStringList said = t.prompter.messages();
                EXPECT_FALSE(said.contains("User hrdnewadded.")) << said.join('|').toStdString();
                expectOldOrNew("ACL/USERS/HRDNEW.USE", {}, digestLine("first1"));
                expectOldOrNew("ACL/BUTTONS/HRDNEW.BUT", {}, kButtonHeader + "01.cmddetail\n");
                EXPECT_TRUE(w.isVisible());
                EXPECT_TRUE(w.cmdadduser->isEnabled());
                return said;
            },
            "user"};
}

Family rightsEditing() {
    static const QByteArray kOld = kButtonHeader + "01.cmddetail\n";
    return {"RightsEditing",
            "SHELL mv -f .HRDMOD.BUT.tmp",
            {},
            {},
            {},
            [](ServerFaultSimTest& t) {
                t.writeServerFile(HardeningSite::file("ACL/USERS/HRDMOD.USE"),
                                  digestLine("secret1"));
                t.writeServerFile(HardeningSite::file("ACL/BUTTONS/HRDMOD.BUT"), kOld);
                t.cleanUp << HardeningSite::file("ACL/BUTTONS/.HRDMOD.BUT.tmp");
                // Copies of a read before, with a grant the server's file does not hold.
                const QByteArray stale = kButtonHeader + "01.cmddetail\n03.cmdcost\n";
                t.home.write("North/download/HRDMOD.BUTU", stale);
                t.home.write("North/download/HRDMOD.BUT", stale);
                fillButtonCatalogue();
                G().g_UserName = QStringLiteral("alice");
                t.prompter.ok();
                frmmodusers w;
                w.show();
                t.nextStep();
                const int i = w.cbousers->findText("HRDMOD");
                if (i >= 0) {
                    t.prompter.ok();
                    w.cbousers->setCurrentIndex(i);
                    emit w.cbousers->activated(i);
                    t.nextStep();
                }
                EXPECT_FALSE(w.picker->grantedLines().contains("03.cmdcost"));
                t.prompter.ok();
                const auto audit =
                    w.picker->lstDivision->findItems("02.RPT Audit Report", Qt::MatchExactly);
                if (!audit.isEmpty() && w.cmdmoduser->isEnabled()) {
                    w.picker->lstDivision->setCurrentItem(audit.first());
                    QTest::mouseClick(w.picker->cmdadd, Qt::LeftButton);
                    QTest::mouseClick(w.cmdmoduser, Qt::LeftButton);
                }
                expectOldOrNew("ACL/BUTTONS/HRDMOD.BUT", kOld,
                               kButtonHeader + "01.cmddetail\n02.cmdAudit\n");
                if (w.result() != QDialog::Accepted) EXPECT_TRUE(w.isVisible());
                return t.said();
            },
            "functions|user"};
}

// The two password windows: the user file written anew; "Password Changed" only once the
// transfer login reads the new digest back.
Family passwordChange(const char* name, const char* midLine, bool own) {
    return {name,
            midLine,
            {},
            {},
            {},
            [own](ServerFaultSimTest& t) {
                const QString user = own ? QStringLiteral("HRDOWN") : QStringLiteral("HRDADM");
                const QString file = "ACL/USERS/" + user + ".USE";
                t.writeServerFile(HardeningSite::file(file), digestLine("secret1"));
                t.cleanUp << HardeningSite::file("ACL/USERS/." + user + ".USE.tmp");
                t.prompter.ok();
                QPushButton* change = nullptr;
                const std::unique_ptr<PasswordWindow> w =
                    hardening::openPasswordWindow(own, user, &change);
                t.nextStep();
                w->txtnewpasswd->setText(QStringLiteral("secret2"));
                w->txtconfirmpasswd->setText(QStringLiteral("secret2"));
                t.prompter.ok();
                if (change->isEnabled()) QTest::mouseClick(change, Qt::LeftButton);
                const QStringList said = t.said();
                expectOldOrNew(file, digestLine("secret1"), digestLine("secret2"));
                if (said.contains("Password Changed"))
                    EXPECT_EQ(HardeningSite::read(file), digestLine("secret2"));
                if (w->result() != QDialog::Accepted) EXPECT_TRUE(w->isVisible());
                return said;
            },
            "password|user"};
}

Family deleteUser() {
    return {"DeleteUser",
            "SHELL ls -1 HRDDEL.USE",
            {},
            {},
            {},
            [](ServerFaultSimTest& t) {
                t.writeServerFile(HardeningSite::file("ACL/USERS/HRDDEL.USE"),
                                  digestLine("secret1"));
                t.writeServerFile(HardeningSite::file("ACL/BUTTONS/HRDDEL.BUT"), kButtonHeader);
                // A user list of an earlier opening, never shown as this one's.
                t.home.write("North/download/usernames.use", "HRDSTALE.USE\n");
                t.home.write("North/download/usernameunix.use", "HRDSTALE.USE\r\n");
                G().g_UserName = QStringLiteral("alice");
                t.prompter.ok();
                frmdeluser w;
                w.show();
                t.nextStep();
                EXPECT_LT(w.cbousers->findText("HRDSTALE"), 0);
                const int i = w.cbousers->findText("HRDDEL");
                if (i >= 0) {
                    w.cbousers->setCurrentIndex(i);
                    t.prompter.yes().ok();
                    QTest::mouseClick(w.cmddeleteuser, Qt::LeftButton);
                }
                const QStringList said = t.said();
                if (said.contains("User HRDDEL has been deleted"))
                    EXPECT_FALSE(QFile::exists(HardeningSite::file("ACL/USERS/HRDDEL.USE")));
                expectOldOrNew("ACL/USERS/HRDDEL.USE", digestLine("secret1"), {});
                if (w.result() != QDialog::Accepted) EXPECT_TRUE(w.isVisible());
                return said;
            },
            "user"};
}

Family clockAndUnlock() {
    // The main window's two utilities, one after the other: the fault strikes the clock's
    // line; the unlock then meets what is left of the server.
    return {"ClockAndUnlock",
            "CALL date ",
            [](ServerFaultSimTest&) { SimServer::setKnob("date.delay", "2"); },
            {},
            [](ServerFaultSimTest&) {
                SimServer::setKnob("date.delay", QString::number(kLineSec + 4));
            },
            [](ServerFaultSimTest& t) {
                fMain* main = fMain::instance();
                auto* sites = control<QComboBox>(main, "cboSites");
                sites->clear();
                sites->addItems({QStringLiteral("Default"), HardeningSite::name()});
                sites->setCurrentIndex(HardeningSite::kIndex);
                t.prompter.yes().ok();
                main->cmdsynch_Click();
                // The question, then what became of the clock.
                const QStringList clock = t.prompter.messages();
                EXPECT_EQ(clock.size(), 2) << clock.join('|').toStdString();
                EXPECT_NE(clock.value(1), "Varnel Call Accounting Server Time changed");
                t.prompter.ok();
                main->cmdunlock_Click();
                const QStringList said = t.prompter.messages();
                EXPECT_EQ(said.size(), 3) << said.join('|').toStdString();
                EXPECT_TRUE(said.value(2).contains("Tables")) << said.join('|').toStdString();
                return said;
            },
            "Server Time"};
}

Family pullBackReports() {
    // The list of the last reports (made in the site's folder, then fetched) and one report
    // brought back from it. A list or a report left from before, on this computer or in the
    // file-transfer login's own folder, is never shown as the one fetched now.
    static const QString kReport = QStringLiteral("HRDPULL.rep");
    return {"PullBackReports",
            "SHELL sudo ls -1 *.rep",
            {},
            [](ServerFaultSimTest& t) {
                t.writeServerFile(HardeningSite::file(kReport), QByteArray(kBigFile, 'r'));
            },
            {},
            [](ServerFaultSimTest& t) {
                const QString server = HardeningSite::file(kReport);
                if (!QFile::exists(server)) t.writeServerFile(server, "the report pulled back\n");
                t.plantLoginFolderFile("reports.txt", "HRDSTALE.rep\n");
                t.plantLoginFolderFile("HRDSTALE.rep", "a stale report\n");
                t.home.write("North/Download/reports/reports.txt", "HRDSTALE.rep\r\n");
                t.prompter.ok();
                Reports w;
                w.show();
                t.nextStep();
                EXPECT_TRUE(w.lstDivision->findItems("HRDSTALE.rep", Qt::MatchExactly).isEmpty());
                const auto found = w.lstDivision->findItems(kReport, Qt::MatchExactly);
                if (!found.isEmpty()) {
                    t.home.write("North/" + kReport, "an older copy\n");
                    w.lstDivision->setCurrentItem(found.first());
                    t.prompter.ok();
                    emit w.lstDivision->itemDoubleClicked(found.first());
                }
                // Only the server's whole report is ever shown.
                for (const QString& opened : t.viewer.opened)
                    EXPECT_EQ(fileBytes(opened), fileBytes(server)) << opened.toStdString();
                for (const QString& f : QDir(t.home.file("North")).entryList(QDir::Files))
                    ADD_FAILURE() << "left in the site folder: " << f.toStdString();
                return t.said();
            },
            "report"};
}

Family callCalculator() {
    // The cost program run on a one-line request, then its answer fetched and made a report.
    return {"CallCalculator",
            "CALL ORV_CCAL",
            [](ServerFaultSimTest&) { SimServer::setKnob("ORV_CCAL.delay", "2"); },
            {},
            [](ServerFaultSimTest&) {
                SimServer::setKnob("ORV_CCAL.delay", QString::number(kReportSec + 4));
            },
            [](ServerFaultSimTest& t) {
                // An answer of an earlier call, here and on the server, never read as this one's.
                t.home.write("North/download/" + HardeningSite::pc() + "_CCAL.repunix",
                             "201,555,Stale\n");
                t.home.write("North/Bats/lt.csv", "1,Administrative\r\n");
                fcallcalc w;
                w.show();
                w.txtarea->setText("617");
                w.txtprefix->setText("555");
                w.txtduration->setText("5");
                w.cboDivision->setCurrentIndex(0);
                t.prompter.ok().ok();
                w.Command1_Click();
                EXPECT_TRUE(t.viewer.opened.isEmpty());
                for (const QString& f :
                     QDir(t.home.file("North/download")).entryList({"*CCAL*"}, QDir::Files))
                    ADD_FAILURE() << "left in the download folder: " << f.toStdString();
                if (w.result() != QDialog::Accepted) {
                    EXPECT_TRUE(w.Command1->isEnabled());
                    EXPECT_TRUE(w.Command1->isVisibleTo(&w));
                }
                return t.prompter.messages();
            },
            "report|price of the call|answer"};
}

std::vector<Family> families() {
    return {tablePull(),
            errorPull(),
            reportRun(),
            changeRequest(),
            userFiles(),
            backupRestore(),
            liveMonitor(),
            testCall(),
            makeBackup(),
            restore(),
            deleteBackups(),
            printQueue(),
            addUser(),
            rightsEditing(),
            passwordChange("OwnPassword", "SHELL mv -f .HRDOWN.USE.tmp", /*own=*/true),
            passwordChange("AdminPassword", "SHELL mv -f .HRDADM.USE.tmp", /*own=*/false),
            deleteUser(),
            clockAndUnlock(),
            pullBackReports(),
            callCalculator()};
}

// ---- the faults ------------------------------------------------------------------------------

// A fault of the relay that strikes while the family's line is under way.
Fault midLine(const char* name, const char* said, void (testsupport::StallProxy::*strike)()) {
    return {name, said,
            [strike](ServerFaultSimTest& t, const Family& f) {
                t.slowLine(f);
                t.whenJournalShows(QString::fromLatin1(f.midLine),
                                   [&t, strike] { (t.relay.get()->*strike)(); });
            },
            true};
}

std::vector<Fault> faults() {
    const char* timedOut = "within|timed out|time-out|no answer|not answer|no data";
    return {
        {"ServerDown", "connect|refused|reach",
         [](ServerFaultSimTest&, const Family&) {
             G().g_SiteSSHPort[HardeningSite::kIndex] = QString::number(testsupport::closedPort());
         }},
        {"LoginRefused", "login|password|authenticat|denied",
         [](ServerFaultSimTest&, const Family&) {
             G().g_SiteSSHUser[HardeningSite::kIndex] = QStringLiteral("nosuchlogin");
             G().g_SiteUsername[HardeningSite::kIndex] = QStringLiteral("nosuchlogin");
             G().g_SitePassword[HardeningSite::kIndex] = QStringLiteral("wrong");
         }},
        {"ChangedHostKey", "host key",
         [](ServerFaultSimTest& t, const Family&) {
             t.home.write("known_hosts", testsupport::foreignHostKeyLine(t.relay->port()));
         }},
        {"StallMidLine", timedOut,
         [](ServerFaultSimTest& t, const Family& f) {
             t.shortDeadlines();
             midLine("", "", &testsupport::StallProxy::stall).arrange(t, f);
         },
         true},
        {"StallMidTransfer", timedOut,
         [](ServerFaultSimTest& t, const Family& f) {
             G().g_FtpTimeout = kStruckSec;
             f.bigTransfer(t);
             t.relay->stallAfter(kStallAfter);
         },
         false, true},
        midLine("SessionKilledMidLine", "closed|lost|ended|dropped|disconnect|broken|reset|end of",
                &testsupport::StallProxy::cut),
        {"DeadlinePassed", timedOut,
         [](ServerFaultSimTest& t, const Family& f) {
             t.shortDeadlines();
             if (f.pastDeadline)
                 f.pastDeadline(t);
             else
                 t.silentServer();
         }},
    };
}

TEST_P(ServerFaultSimTest, EndsInTimeNamingTheFaultAndLeavesNothingHalf) {
    const auto& [family, fault] = GetParam();
    fault.arrange(*this, family);
    QElapsedTimer clock;
    clock.start();
    const QStringList said = family.run(*this);
    EXPECT_LT(clock.elapsed(), kLongestRunMs);
    const QRegularExpression named(QString::fromLatin1(fault.said),
                                   QRegularExpression::CaseInsensitiveOption);
    EXPECT_TRUE(said.join('\n').contains(named)) << said.join('|').toStdString();
    if (family.work) {
        const QRegularExpression work(QString::fromLatin1(family.work),
                                      QRegularExpression::CaseInsensitiveOption);
        EXPECT_TRUE(said.join('\n').contains(work))
            << "the work is not named: " << said.join('|').toStdString();
    }
    expectWholeRequests();
}

std::vector<std::tuple<Family, Fault>> pairs() {
    std::vector<std::tuple<Family, Fault>> out;
    for (const Family& family : families())
        for (const Fault& fault : faults()) {
            if (fault.needsLine && !family.midLine) continue;
            if (fault.needsBigTransfer && !family.bigTransfer) continue;
            out.emplace_back(family, fault);
        }
    return out;
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<Family, Fault>>& info) {
    return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(Families, ServerFaultSimTest, ::testing::ValuesIn(pairs()), caseName);

}  // namespace
