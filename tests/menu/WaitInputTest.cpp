// While a window waits on the server, no user input reaches it but its Cancel. Each row holds
// the window's first long server step; meanwhile every enabled control is clicked, every list
// and grid double-clicked, every box typed into and every combo box moved on with the keyboard,
// Return and Escape pressed and the window closed. Nothing more may be sent, no window open, no
// box change and the window stay; then the wait ends at once through its Cancel.
#include "support/Modal.h"
#include "support/ProgramWindows.h"

#include "access/LoginTestSupport.h"
#include "access/PasswordWindows.h"
#include "access/frmLogin.h"
#include "access/frmPermissions.h"
#include "access/frmdeluser.h"
#include "access/frmmodusers.h"
#include "prices/PriceModifyForm.h"
#include "rates/frmaddac.h"
#include "rates/frmeditAC.h"
#include "reports/selection/SelectionTestSupport.h"
#include "reports/selection/fAuth.h"
#include "reports/selection/fDetailReport.h"
#include "reports/selection/fWatchdog.h"
#include "reports/selection/fcost.h"
#include "reports/selection/funusedstations.h"
#include "reports/summary/FAreacode.h"
#include "reports/summary/fAuditReport.h"
#include "reports/summary/fcrono.h"
#include "reports/summary/fstatsreport.h"
#include "support/ChangeForms.h"
#include "tables/DepartmentForms.h"
#include "tables/ExtensionForms.h"
#include "tables/LineForms.h"
#include "common/ButtonCatalogue.h"
#include "menu/Reports.h"
#include "menu/fErrors.h"
#include "utilities/fdeletecalls.h"
#include "utilities/fhobiccall.h"
#include "utilities/frmprintjobs.h"

#include "changes/ChangeForm.h"
#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "maintenance/BackupLists.h"
#include "maintenance/BackupMenus.h"
#include "maintenance/fbackup.h"
#include "prices/PriceListWindow.h"
#include "prices/frmDatabase.h"
#include "rates/fcallcalc.h"
#include "rates/frmac.h"
#include "rates/frmareacode.h"
#include "startup/fgetdata.h"
#include "reports/common/ReportTable.h"
#include "reports/summary/SummaryTestSupport.h"
#include "reports/summary/fTrunk.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/RecordingViewer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "tables/DivisionForms.h"
#include "tables/TablesTestSupport.h"
#include "tables/frmmanager.h"
#include "widgets/AppControl.h"
#include "widgets/KeyedPickList.h"
#include "widgets/ListPair.h"
#include "widgets/LongWaitCancel.h"
#include "widgets/SortableGrid.h"
#include "widgets/WaitPanel.h"
#include "widgets/WindowRegistry.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>

using namespace quillon;
using testsupport::FakeServer;
using testsupport::FakeSite;

namespace {

// What a user could have changed: every box's, combo box's, check's and spin box's value.
QStringList values(const QWidget* window) {
    QStringList out;
    for (const QComboBox* c : window->findChildren<QComboBox*>())
        out << c->objectName() + "=" + c->currentText();
    for (const QLineEdit* e : window->findChildren<QLineEdit*>())
        out << e->objectName() + "=" + e->text();
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->isCheckable()) out << b->objectName() + "=" + (b->isChecked() ? "on" : "off");
    for (const QAbstractSpinBox* s : window->findChildren<QAbstractSpinBox*>())
        out << s->objectName() + "=" + s->text();
    return out;
}

// Everything a user can do to a window, aimed at each control.
void tryEveryInput(QWidget* window) {
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->isVisible() && b->isEnabled() && !qobject_cast<LongWaitCancel*>(b))
            QTest::mouseClick(b, Qt::LeftButton);
    for (QAbstractItemView* v : window->findChildren<QAbstractItemView*>()) {
        if (!v->isVisible() || !v->model() || v->model()->rowCount() == 0) continue;
        const QModelIndex row = v->model()->index(v->model()->rowCount() > 1 ? 1 : 0, 0);
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(row).center());
        QTest::keyClick(v, Qt::Key_Down);
    }
    for (QComboBox* c : window->findChildren<QComboBox*>()) QTest::keyClick(c, Qt::Key_Down);
    for (QLineEdit* e : window->findChildren<QLineEdit*>()) QTest::keyClicks(e, "97");
    for (QAbstractSpinBox* s : window->findChildren<QAbstractSpinBox*>())
        QTest::keyClick(s, Qt::Key_Up);
    QTest::keyClick(window, Qt::Key_Return);
    QTest::keyClick(window, Qt::Key_Escape);
    window->close();
}

struct Env {
    testsupport::TempHome& home;
    FakeServer& server;
    testsupport::ScriptedPrompter& prompter;
};

struct WaitRow {
    const char* name;
    // Makes the window, shows it and makes it ready for its work.
    std::function<QWidget*(Env&)> open;
    // Holds the window's first long step (until its Cancel, or the deadline).
    std::function<void(Env&, std::function<void()> meanwhile)> hold;
    // Starts the work; returns once it has ended.
    std::function<void(QWidget*)> start;
    // The message that ends a cancelled wait, from its start, told with the one icon.
    QString cancelled;
};
void PrintTo(const WaitRow& r, std::ostream* os) {
    *os << r.name;
}

std::function<void(Env&, std::function<void()>)> holdLine(const QString& pattern) {
    return [pattern](Env& env, std::function<void()> meanwhile) {
        env.server.on(QRegularExpression(pattern)).blocksUntilCancel().then(
            [meanwhile](const QString&) { meanwhile(); });
    };
}

std::function<void(Env&, std::function<void()>)> holdFetch(const QString& path) {
    return [path](Env& env, std::function<void()> meanwhile) {
        env.server.blockFetchUntilCancel(path);
        env.server.onFetch(path, meanwhile);
    };
}

// One backup on the server, as the backup lists bring its record.
void oneBackupListed(Env& env) {
    env.server.addFile("/usr/varnel/backup/restore.txt",
                       "101508_103108_OFFICE1.tar.gz,10/31/2008,A,10/01/08,10/31/08,OFFICE1\n");
}

// The stand-in users' files on the server, and the list of them the windows read.
void listedUsers(Env& env) {
    logintest::forEachSimUserFile(
        [&env](const QString& path, const QByteArray& bytes) { env.server.addFile(path, bytes); });
    env.server.addFile("/usr/varnel/ACL/USERS/UNAME.TXT", "ALICE.USE\nDUPE.USE\n");
}

template <class W>
W* as(QWidget* w) {
    return static_cast<W*>(w);
}

// A menu whose button opens a window that loads from the server before it shows; that load is
// the menu's wait.
template <class Menu>
WaitRow opensRow(const char* name, void (*prepare)(Env&),
                 std::function<void(Env&, std::function<void()>)> hold, const QString& window,
                 void (*click)(Menu*), const QString& cancelled) {
    return {name,
            [prepare](Env& env) -> QWidget* {
                prepare(env);
                return new Menu;
            },
            std::move(hold),
            [window, click](QWidget* w) {
                testsupport::closeWhenShown(window);
                click(as<Menu>(w));
            },
            cancelled};
}

void serverTables(Env& env) {
    FakeSite::addServerTables(env.server);
}

// A menu whose button opens a table window; the window's table pull is the menu's wait.
template <class Menu>
WaitRow menuRow(const char* name, const QString& table, const QString& window,
                void (*click)(Menu*)) {
    return opensRow<Menu>(name, serverTables, holdFetch(FakeSite::folder() + table), window, click,
                          cancelledWaitText("The table pull"));
}

// A backup menu whose button opens a list of the backups; the listing's fetch is the wait.
template <class Menu>
WaitRow backupMenuRow(const char* name, const QString& window, void (*click)(Menu*)) {
    return opensRow<Menu>(name, oneBackupListed, holdFetch("/usr/varnel/backup/restore.txt"),
                          window, click, cancelledWaitText("The list"));
}

// A change form, filled so that its Save sends; its request is held at its publishing move.
WaitRow formRow(const char* name, testsupport::FormOpener open,
                std::function<void(ChangeForm&)> fill) {
    return {name,
            [open, fill](Env& env) -> QWidget* {
                tablestest::writeMirror(env.home);
                FakeSite::addServerTables(env.server);
                std::unique_ptr<ChangeForm> form = open();
                fill(*form);
                return form.release();
            },
            holdLine("^mv -f "), [](QWidget* w) { as<ChangeForm>(w)->cmdsave_Click(); },
            cancelledWaitText("The request")};
}

// A price form sends its two records whole (its Cancel stays off meanwhile): its first long
// wait that can be ended is its first poll for the answer, which its timer sends.
WaitRow priceFormRow(const char* name, testsupport::FormOpener open) {
    WaitRow row = formRow(name, std::move(open), [](ChangeForm&) {});
    row.hold = holdLine("^ls ");
    row.start = [](QWidget* w) {
        auto* form = as<ChangeForm>(w);
        form->cmdsave_Click();
        EXPECT_TRUE(testsupport::waitFor([form] { return !form->cmdcancelwait->isOffered(); },
                                         15000));
    };
    return row;
}

// One line of a price list built from the smallest tables that hold it: Guest "Local" and
// "United Kingdom".
PriceLine priceLine(PriceListKind kind) {
    const PriceTables tables{QByteArray("250,0.15,0.10,0.15,0.10,0.50,250\n"
                                        "209,1.10,0.90,1.10,0.90,0,209\n"),
                             QByteArray("250,10,0.25,7.5,6,30,60,30,60,30,1,0\n"
                                        "209,0,0,7.5,6,30,60,60,60,60,0,0\n"),
                             QByteArray("44,United Kingdom,9,209\n")};
    return buildPriceList(kind, PriceSet::Guest, tables).lines.value(0);
}

// A report window with the least chosen that lets it run; its program line is held.
template <class W>
WaitRow reportRow(const char* name, void (*tables)(Env&), std::function<void(W&)> choose) {
    return {name,
            [tables, choose](Env& env) -> QWidget* {
                tables(env);
                auto* w = new W;
                choose(*w);
                return w;
            },
            holdLine("^\\./ORV_"), [](QWidget* w) { static_cast<W*>(w)->Command1_Click(); },
            cancelledWaitText("The report")};
}
void selectionTables(Env& env) {
    selectiontest::writeTables(env.home);
}
void summaryTables(Env& env) {
    summarytest::writeTables(env.home);
}
template <class W>
WaitRow selectionRow(const char* name, const QStringList& shown) {
    return reportRow<W>(name, selectionTables,
                        [shown](W& w) { selectiontest::selectShown(w, shown); });
}

// A price list reloading its tables for the other set.
template <class W>
WaitRow priceListRow(const char* name) {
    return {name,
            [](Env& env) -> QWidget* {
                FakeSite::addServerTables(env.server);
                return new W;
            },
            holdFetch(FakeSite::folder() + "/calc.csv"),
            [](QWidget* w) { static_cast<PriceListWindow*>(w)->optadmin_Click(); },
            cancelledWaitText("The table pull")};
}

// The change requests are held at their publishing move: a Cancel before it leaves nothing on
// the server and is told as "not sent", not as a wait the user ended.
const WaitRow kRows[] = {
    formRow("ChangeForm", testsupport::modifyForm<fEditDiv>({"0030", "Operations"}),
            [](ChangeForm&) {}),
    formRow("AddDivision", testsupport::addForm<fAddDiv>(),
            [](ChangeForm& f) {
                testsupport::box(f, "txtdivnumber")->setText("7");
                testsupport::box(f, "txtDivName")->setText("Sales");
            }),
    formRow("AddDepartment", testsupport::addForm<fAddDpt>(),
            [](ChangeForm& f) {
                testsupport::box(f, "txtdptnumber")->setText("120");
                testsupport::box(f, "txtdptname")->setText("Sales");
                tablestest::pick(testsupport::list(f, "cboDivision"), "0003 Operations");
            }),
    formRow("ModifyDepartment", testsupport::modifyForm<feditdpt>({"0100", "Front Office", "3"}),
            [](ChangeForm& f) { testsupport::box(f, "txtdptname")->setText("Front"); }),
    formRow("AddExtension", testsupport::addForm<fAddext>(),
            [](ChangeForm& f) {
                testsupport::box(f, "txtextnumber")->setText("1060");
                testsupport::box(f, "txtextname")->setText("Gift Shop");
                tablestest::pick(testsupport::list(f, "cboDepartment"), "0100 Front Office");
                testsupport::box(f, "txtequipment")->setText("5.00");
            }),
    formRow("ModifyExtension",
            testsupport::modifyForm<feditext>(
                {"0012", "Front Desk", "100", "12.50", "0.00", "2.00", "148", ""}),
            [](ChangeForm& f) {
                testsupport::box(f, "txtextname")->setText("Desk");
                testsupport::box(f, "txtother")->setText("0");
            }),
    formRow("AddLine", testsupport::addForm<FAddLine>(),
            [](ChangeForm& f) {
                testsupport::box(f, "txtlinenumber")->setText("8");
                tablestest::pick(testsupport::list(f, "cboext"), "0012 Front Desk");
                tablestest::pick(testsupport::list(f, "cbolt"), "0001 Administrative");
            }),
    formRow("ModifyLine", testsupport::modifyForm<feditline>({"0005", "12", "1"}),
            [](ChangeForm&) {}),
    formRow("AddAreaCode", testsupport::addForm<frmaddac>(),
            [](ChangeForm& f) {
                auto& a = static_cast<frmaddac&>(f);
                a.txtname->setText("Boston MA");
                a.txtareacode->setText("617");
                a.txtprefix->setText("555");
                a.cborate->setCurrentIndex(a.cborate->findText("Local"));
            }),
    formRow("ModifyAreaCode",
            testsupport::modifyForm<frmeditAC>(
                {"1", "617", "556", "Cambridge MA", "250", "Local"}),
            [](ChangeForm& f) { static_cast<frmeditAC&>(f).txtname->setText("Kendall MA"); }),
    priceFormRow("ModifyDomesticPrice",
                 [] {
                     return std::make_unique<frmdomesticpricingmodify>(
                         priceLine(PriceListKind::Domestic));
                 }),
    priceFormRow("ModifyInternationalPrice",
                 [] {
                     return std::make_unique<frminternationalpricingmodify>(
                         priceLine(PriceListKind::International));
                 }),
    {"DeleteCalls",
     [](Env& env) -> QWidget* {
         env.home.write("North/Bats/lt.csv", "3,Guest Room\r\n");
         env.home.write("North/Bats/ext.csv", "101,Lobby,100,0,0,0,0,\r\n");
         env.home.write("North/Bats/dpt.csv", "100,Front Office,3\r\n");
         env.home.write("North/Bats/div.csv", "3,Operations,\r\n");
         FakeSite::addServerTables(env.server);
         auto* w = new fdeletecalls;
         const auto found = w->lists->lstDivision->findItems("0101 Lobby", Qt::MatchExactly);
         if (!found.isEmpty()) {
             w->lists->available().highlight(w->lists->lstDivision->row(found.first()));
             w->lists->cmdadd->click();
         }
         env.prompter.yes();
         return w;
     },
     holdLine("^mv -f "), [](QWidget* w) { as<fdeletecalls>(w)->Command1_Click(); },
     cancelledWaitText("The request")},
    {"CallCalculator",
     [](Env& env) -> QWidget* {
         env.home.write("North/Bats/lt.csv", "1,Administrative\r\n2,Guest Room\r\n");
         auto* w = new fcallcalc;
         w->txtarea->setText("617");
         w->txtprefix->setText("555");
         w->txtduration->setText("5");
         w->cboDivision->setCurrentIndex(1);
         return w;
     },
     holdLine("^\\./ORV_CCAL "), [](QWidget* w) { as<fcallcalc>(w)->Command1_Click(); },
     cancelledWaitText("The report")},
    {"TrunkReport",
     [](Env& env) -> QWidget* {
         summarytest::writeTables(env.home);
         auto* w = new fTrunk;
         summarytest::pick(*w->lists, {"0005 North A"});
         return w;
     },
     holdLine("^\\./ORV_"), [](QWidget* w) { as<fTrunk>(w)->Command1_Click(); },
     cancelledWaitText("The report")},
    selectionRow<fDetailReport>("DetailReport", {"0012 Front Desk"}),
    selectionRow<fcost>("CostReport", {"0003 Operations"}),
    selectionRow<fAuth>("AccountCodeReport", {"0007 Legal"}),
    reportRow<funusedstations>("UnusedStationsReport", selectionTables,
                               [](funusedstations& w) {
                                   w.Optreporttype[1]->setChecked(true);
                                   w.allBoxes[1]->setChecked(true);
                               }),
    // No number saved for the site yet: the window says so on opening.
    reportRow<fWatchdog>("WatchdogReport",
                         [](Env& env) {
                             selectionTables(env);
                             env.prompter.ok();
                         },
                         [](fWatchdog& w) {
                             w.txtitem->setText("5551234");
                             w.cmdadd_Click();
                         }),
    reportRow<fAuditReport>("AuditReport", summaryTables, [](fAuditReport&) {}),
    reportRow<fstatsreport>("StatsReport", summaryTables,
                            [](fstatsreport& w) { w.txtValue->setText("10"); }),
    reportRow<fcrono>("CronoReport", summaryTables, [](fcrono&) {}),
    reportRow<FAreacode>("AreaReport", summaryTables,
                         [](FAreacode& w) { summarytest::pick(*w.lists, {"0012 South"}); }),
    {"Backup", [](Env&) -> QWidget* { return new fbackup; }, holdLine("^(?!cd )"),
     [](QWidget* w) { as<fbackup>(w)->cmdbackup_Click(); }, cancelledWaitText("The backup")},
    priceListRow<frmdomesticpricing>("PriceListReload"),
    priceListRow<frminternational>("InternationalPriceListReload"),
    menuRow<frmareacode>("AreaCodeMenu", "/ld.csv", "frmac",
                         [](frmareacode* menu) { menu->cmdLD_Click(); }),
    menuRow<frmDatabase>("PriceListMenu", "/calc.csv", "frmdomesticpricing",
                         [](frmDatabase* menu) { menu->cmdpricing_Click(); }),
    menuRow<frmDatabase>("InternationalPriceListMenu", "/calc.csv", "frminternational",
                         [](frmDatabase* menu) { menu->cmdCC_Click(); }),
    {"TestCall",
     [](Env& env) -> QWidget* {
         env.home.write("North/Bats/ext.csv", "101,Room 101,200,0,0,0,0,\r\n");
         auto* w = new fhobiccall;
         w->txtnumber->setText("411");
         return w;
     },
     holdLine("^echo "), [](QWidget* w) { as<fhobiccall>(w)->cmdrun_Click(); },
     cancelledWaitText("The test call")},
    {"RightsEditor",
     [](Env& env) -> QWidget* {
         fillButtonCatalogue();
         listedUsers(env);
         return new frmmodusers;
     },
     holdFetch("/usr/varnel/ACL/BUTTONS/ALICE.BUT"),
     [](QWidget* w) {
         QComboBox* users = as<frmmodusers>(w)->cbousers;
         const int alice = users->findText("ALICE");
         users->setCurrentIndex(alice);
         emit users->activated(alice);
     },
     cancelledWaitText("Reading the functions")},
    {"AddUser",
     [](Env& env) -> QWidget* {
         fillButtonCatalogue();
         env.server.on("ls ZED.USE")
             .reply("ls: cannot access 'ZED.USE': No such file or directory\n")
             .status(2);
         auto* w = new frmPermissions;
         w->txtadduser->setText("zed");
         w->txtaddpasswd->setText("secret1");
         w->txtconfirmpasswd->setText("secret1");
         w->picker->lstDivision->setCurrentRow(0);
         w->picker->cmdadd->click();
         return w;
     },
     holdLine("^echo "), [](QWidget* w) { as<frmPermissions>(w)->cmdadduser->click(); },
     cancelledWaitText("The change")},
    {"DeleteUser",
     [](Env& env) -> QWidget* {
         listedUsers(env);
         auto* w = new frmdeluser;
         QComboBox* users = w->cbousers;
         const int alice = users->findText("ALICE");
         users->setCurrentIndex(alice);
         emit users->activated(alice);
         env.prompter.yes();
         return w;
     },
     holdLine("^(?!cd )"), [](QWidget* w) { as<frmdeluser>(w)->cmddeleteuser_Click(); },
     cancelledWaitText("The change")},
    {"OwnPassword",
     [](Env& env) -> QWidget* {
         logintest::forEachSimUserFile(
             [&env](const QString& path, const QByteArray& bytes) { env.server.addFile(path, bytes); });
         G().g_UserName = "alice";
         auto* w = new frmpasswd;
         w->txtoldpasswd->setText("secret1");
         w->txtnewpasswd->setText("pass2");
         w->txtconfirmpasswd->setText("pass2");
         return w;
     },
     holdLine("^(?!cd )"), [](QWidget* w) { as<frmpasswd>(w)->cmdmodpasswd->click(); },
     cancelledWaitText("The change")},
    {"AdminPassword",
     [](Env& env) -> QWidget* {
         listedUsers(env);
         auto* w = new frmchangepasswd;
         QComboBox* users = w->cbousers;
         const int alice = users->findText("ALICE");
         users->setCurrentIndex(alice);
         emit users->activated(alice);
         w->txtnewpasswd->setText("pass2");
         w->txtconfirmpasswd->setText("pass2");
         return w;
     },
     holdLine("^(?!cd )"), [](QWidget* w) { as<frmchangepasswd>(w)->cmdchgpasswd->click(); },
     cancelledWaitText("The change")},
    {"PrintQueue",
     [](Env& env) -> QWidget* {
         env.server.addFile("printjob.rtf", "Rank    Owner   Job     File(s)     Total Size\n"
                                            "1st     root    12345   (stdin)     1024 bytes\n");
         env.prompter.yes();
         auto* w = new frmprintjobs;
         w->chkrmall->setChecked(true);
         return w;
     },
     holdLine("^sudo lprm "), [](QWidget* w) { as<frmprintjobs>(w)->Command1_Click(); },
     cancelledWaitText("The removal")},
    {"Restore",
     [](Env& env) -> QWidget* {
         oneBackupListed(env);
         auto* w = new frestore;
         w->MSFlexGrid1->setCurrentRow(1);
         env.prompter.yes();
         return w;
     },
     holdLine("^(?!cd )"), [](QWidget* w) { as<frestore>(w)->Command1_Click(); },
     cancelledWaitText("The restore")},
    {"DeleteBackups",
     [](Env& env) -> QWidget* {
         oneBackupListed(env);
         auto* w = new fdeletebackups;
         w->MSFlexGrid1->setTicked(1, true);
         env.prompter.yes();
         return w;
     },
     holdLine("^(?!cd )"), [](QWidget* w) { as<BackupTickList>(w)->Command1_Click(); },
     "These backups were not deleted:"},
    {"BringBackBackups",
     [](Env& env) -> QWidget* {
         oneBackupListed(env);
         env.server.addFile("/usr/varnel/backup/101508_103108_OFFICE1.tar.gz", "ARCHIVE");
         auto* w = new fbringbackbackups;
         w->MSFlexGrid1->setTicked(1, true);
         env.prompter.yes();
         return w;
     },
     holdFetch("/usr/varnel/backup/101508_103108_OFFICE1.tar.gz"),
     [](QWidget* w) { as<BackupTickList>(w)->Command1_Click(); },
     "101508_103108_OFFICE1.tar.gz: not copied: " + cancelledWaitText("The copy")},
    {"AreaCodeTable",
     [](Env& env) -> QWidget* {
         FakeSite::addServerTables(env.server);
         return new frmac;
     },
     holdFetch(FakeSite::folder() + "/ld.csv"), [](QWidget* w) { as<frmac>(w)->Form_Load(); },
     cancelledWaitText("The table pull")},
    // The manager waits while a form it opened sends its change; its own Cancel ends that wait.
    {"Manager",
     [](Env& env) -> QWidget* {
         tablestest::writeMirror(env.home);
         FakeSite::addServerTables(env.server);
         auto* w = new frmmanager;
         w->MSFlexGrid1->setCurrentRow(1);
         return w;
     },
     holdLine("^mv -f "),
     [](QWidget* w) {
         testsupport::whenShown<ChangeForm>("fEditDiv",
                                            [](ChangeForm& form) { form.cmdsave_Click(); });
         as<frmmanager>(w)->cmdmodify_Click();
     },
     cancelledWaitText("The request")},
    {"ErrorFiles",
     [](Env& env) -> QWidget* {
         env.server.addFile("ERROR.COM", "E1\n");
         return new fErrors;
     },
     holdFetch("ERROR.COM"), [](QWidget* w) { as<fErrors>(w)->Form_Load(); },
     cancelledWaitText("Fetching the error files")},
    // The connecting window: its work runs from its load timer; the site's tables are written
    // on the server by ./do_csv.sh.
    {"Connecting",
     [](Env& env) -> QWidget* {
         FakeSite::addServerTables(env.server);
         return new fgetdata;
     },
     holdLine("^\\./do_csv\\.sh"), [](QWidget* w) { as<fgetdata>(w)->tmrNowLoad_Timer(); },
     cancelledWaitText("Connecting")},
    // The login's connect cannot be held; the line that wakes the shell after it is its first
    // wait that can be ended.
    {"Login",
     [](Env&) -> QWidget* {
         auto* w = new frmLogin({"Default", "North"});
         w->cboSites->setCurrentIndex(1);
         w->txtUserName->setText("alice");
         w->txtPassword->setText("secret1");
         return w;
     },
     holdLine("^$"), [](QWidget* w) { as<frmLogin>(w)->cmdOK_Click(); },
     cancelledWaitText("The login")},
    {"LastReports",
     [](Env& env) -> QWidget* {
         env.server.addFile("/usr/varnel/reports.txt", "RW_A.rep\n");
         return new Reports;
     },
     holdLine("^sudo ls -1 "), [](QWidget* w) { as<Reports>(w)->Form_Load(); },
     cancelledWaitText("The list of reports")},
};

// The backup lists load before they show, under their menu's running text: the menu offers the
// load's Cancel, as the unshown list cannot.
const WaitRow kBackupListLoads[] = {
    backupMenuRow<Fbackuprestore>("RestoreMenu", "frestore",
                                  [](Fbackuprestore* menu) { menu->cmdrestore_Click(); }),
    backupMenuRow<fmanagebackups>("DeleteBackupsMenu", "fdeletebackups",
                                  [](fmanagebackups* menu) { menu->cmddeletebackups_Click(); }),
    backupMenuRow<fmanagebackups>("BringBackMenu", "fbringbackbackups",
                                  [](fmanagebackups* menu) { menu->cmdpullbackbackups_Click(); }),
};

class WaitInput : public ::testing::TestWithParam<WaitRow> {
protected:
    WaitInput() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // Should a Cancel fail to end a wait, its deadline does, and the row fails.
        G().g_FtpTimeout = 5;
        home.write("KTReports.ini", "[Sites]\r\nLineTimeout=5\r\n");
    }
    ~WaitInput() override {
        // Closing the login ends the program: one short round of the event loop takes the
        // request back, or every later local event loop would return at once.
        if (programEndRequested()) {
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
            QCoreApplication::exec();
            resetProgramEnd();
        }
        // A password window sets the user.
        G() = m_globals;
        setWindowOpenHook({});
        QLocale::setDefault(QLocale::c());
    }

    const Globals m_globals = G();
    testsupport::TempHome home;
    quillon::SettableClock programClock{QDateTime(QDate(2026, 12, 9), QTime(14, 5))};
    FakeSite site;
    FakeServer server;
    testsupport::ScriptedPrompter prompter;
    testsupport::RecordingViewer viewer;
};

TEST_P(WaitInput, NothingButCancelReachesTheWaitingWindow) {
    const WaitRow& row = GetParam();
    Env env{home, server, prompter};
    prompter.allowUnusedAnswers();
    std::unique_ptr<QWidget> window(row.open(env));
    prompter.ok().ok();
    window->show();
    QPointer<QWidget> alive(window.get());

    bool held = false;
    QStringList opened;
    std::size_t toldBeforeCancel = 0;
    row.hold(env, [&] {
        if (held) return;
        held = true;
        EXPECT_EQ(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                 : Qt::ArrowCursor,
                  Qt::WaitCursor);
        const std::size_t sent = server.sent().size();
        const std::size_t fetched = server.fetches().size();
        const QStringList before = values(window.get());
        const std::size_t told = prompter.prompts().size();
        setWindowOpenHook([&](const QString& name) { opened << name; });
        tryEveryInput(window.get());
        setWindowOpenHook({});
        EXPECT_EQ(server.sent().size(), sent);
        EXPECT_EQ(server.fetches().size(), fetched);
        EXPECT_EQ(values(window.get()), before);
        EXPECT_EQ(prompter.prompts().size(), told);
        EXPECT_TRUE(window->isVisible());
        auto* cancel = window->findChild<LongWaitCancel*>("cmdcancelwait");
        ASSERT_NE(cancel, nullptr);
        EXPECT_TRUE(cancel->isOffered());
        EXPECT_TRUE(cancel->isVisible());
        toldBeforeCancel = prompter.prompts().size();
        QTimer::singleShot(0, cancel, [cancel] { QTest::mouseClick(cancel, Qt::LeftButton); });
    });

    row.start(window.get());
    EXPECT_TRUE(held);
    EXPECT_TRUE(opened.isEmpty()) << opened.join(' ').toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // The first thing told after the Cancel; what the window does after its work (the
    // connecting window's monitors) may follow.
    ASSERT_GT(prompter.prompts().size(), toldBeforeCancel);
    const auto& told = prompter.prompts()[toldBeforeCancel];
    EXPECT_TRUE(told.text.startsWith(row.cancelled)) << prompter.messages().join('|').toStdString();
    EXPECT_EQ(told.icon, platform::Icon::Information);
    if (alive) alive->close();
}

// A window tells a failure as a wait the user ended only when its own wait was: a Cancel that
// ended another wait, whose work told nothing of it, says nothing of the next failure.
TEST(CancelledWait, ALaterFailureElsewhereIsToldAsItsOwn) {
    testsupport::TempHome home;
    FakeSite site;
    FakeServer server;
    testsupport::ScriptedPrompter prompter;
    prompter.allowUnusedAnswers();
    QWidget window;
    auto* panel = new WaitPanel(&window, WaitPanel::Cancel::AnyWait);
    (new QVBoxLayout(&window))->addWidget(panel);
    window.show();
    server.on("./ORV_B1 2 X.TMP").blocksUntilCancel();
    ServerFailure failure;
    const auto shell = server.openShell({{"10.0.0.9", 22, "varnel", "p"}, {}, {}, 30}, failure);
    ASSERT_TRUE(shell);
    LongWaitCancel* cancel = panel->cancelButton();
    QTimer::singleShot(50, cancel, [cancel] { QTest::mouseClick(cancel, Qt::LeftButton); });
    EXPECT_EQ(shell->run("./ORV_B1 2 X.TMP", 30).failure.code, kSessionCancelled);

    server.failOpen(kSessionUnreachable, "Connection refused");
    prompter.ok();
    fErrors errors;
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages().first().startsWith(
        "The error files could not be fetched from the server."))
        << prompter.messages().first().toStdString();

    // Its own wait ended by the user is told as such.
    server.blockFetchUntilCancel("ERROR.COM");
    server.onFetch("ERROR.COM", [&errors] {
        auto* own = errors.findChild<LongWaitCancel*>("cmdcancelwait");
        QTimer::singleShot(0, own, [own] { QTest::mouseClick(own, Qt::LeftButton); });
    });
    server.addFile("ERROR.COM", "E1\n");
    prompter.ok();
    errors.Form_Load();
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(prompter.messages().last(), cancelledWaitText("Fetching the error files"));
}

INSTANTIATE_TEST_SUITE_P(Windows, WaitInput, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(BackupLists, WaitInput, ::testing::ValuesIn(kBackupListLoads),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
