// Every field whose value reaches a shell line on the server, crossed with text a shell would act
// on, against the stand-in server. For each pair: no canary file appears and no server program
// runs that the field's own line does not run, and the field is either refused with a message
// that names it or reaches the server exactly as the system writes it.
//
// A field is one row of fields() below: how the payload gets into it (a typed box, a site
// setting, a table of the mirror), what runs it and what the server then holds.
#include "support/ProgramWindows.h"

#include "HardeningSite.h"
#include "access/AccessFiles.h"
#include "access/frmLogin.h"
#include "access/frmPermissions.h"
#include "access/frmdeluser.h"
#include "common/ButtonCatalogue.h"
#include "maintenance/BackupLists.h"
#include "common/ShellQuote.h"
#include "menu/fMain.h"
#include "platform/TextCodec.h"
#include "reports/selection/fDetailReport.h"
#include "reports/selection/fWatchdog.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "tables/DepartmentForms.h"
#include "tables/DivisionForms.h"
#include "tables/ExtensionForms.h"
#include "tables/TablesTestSupport.h"
#include "utilities/TestCall.h"
#include "utilities/fhobiccall.h"
#include "utilities/frmprintjobs.h"
#include "widgets/KeyedPickList.h"
#include "widgets/ListPair.h"
#include "widgets/SortableGrid.h"
#include "widgets/AppControl.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QTimeEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <tuple>
#include <vector>

using namespace quillon;
using hardening::HardeningSite;
using testsupport::SimServer;

namespace {

// Made by any payload that got a shell to run its command.
const QString kCanary = QStringLiteral("/tmp/quillon-hardening-canary");

// ---- the payloads ----------------------------------------------------------------------------

struct Payload {
    const char* name;
    QString text;
};

std::vector<Payload> payloads() {
    const QString touch = QStringLiteral("touch ") + kCanary;
    return {
        {"SingleQuote", "a'b;" + touch + ";'"},
        {"DoubleQuote", "a\"b;" + touch + ";\""},
        {"Semicolon", "a;" + touch},
        {"Pipe", "a|" + touch},
        {"Ampersand", "a&" + touch + "&"},
        {"CommandSubstitution", "$(" + touch + ")"},
        {"Backticks", "`" + touch + "`"},
        {"Ifs", "touch$IFS" + kCanary},
        {"HistoryBang", QStringLiteral("a!!b!-1")},
        {"Star", QStringLiteral("*")},
        {"Question", QStringLiteral("?")},
        {"Bracket", QStringLiteral("[a]")},
        {"Tilde", QStringLiteral("~")},
        {"LeadingDash", QStringLiteral("-rf")},
        {"CarriageReturn", "a\r" + touch},
        {"LineFeed", "a\n" + touch},
        {"ControlCharacters", QStringLiteral("a\x03"
                                             "b\x1b[2J\x7f")},
        {"AboveAscii", QStringLiteral("Caf\u00e9 \u20acuro \u00ff")},
        {"ThreeHundred", QStringLiteral("1234567890").repeated(30)},
        {"Empty", QString()},
    };
}

// ---- the fields ------------------------------------------------------------------------------

// What a field's run left: what the user was told and what reached the server.
struct Outcome {
    QStringList messages;
    // The bytes on the server that hold the value (a request file's lines, the typed line as the
    // journal has it); nullopt when the value never reached the server.
    std::optional<QByteArray> stored;
    // Those bytes as the system defines them for the value the field held.
    QByteArray expected;
};

class HostileInputSimTest;

struct Field {
    const char* name;
    const char* line;      // the shell line it belongs to, for the reader of a failure
    QStringList programs;  // the server programs that line (and its window) may run
    const char* named;     // a refusal names the field so (a pattern, case ignored)
    std::function<Outcome(HostileInputSimTest&, const QString& payload)> run;
};

void PrintTo(const Payload& p, std::ostream* os) {
    *os << p.name;
}
void PrintTo(const Field& f, std::ostream* os) {
    *os << f.name;
}

class HostileInputSimTest : public hardening::HardeningTest,
                            public ::testing::WithParamInterface<std::tuple<Field, Payload>> {
protected:
    void SetUp() override {
        HardeningTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        QFile::remove(kCanary);
        home.write("North/Bats/div.csv", "3,Operations\r\n");
        home.write("North/Bats/dpt.csv", "100,Front Office,3\r\n");
        home.write("North/Bats/ext.csv", "12,Front Desk\r\n");
        home.write("North/Bats/lt.csv", "1,Administrative\r\n");
    }
    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        HardeningTest::TearDown();
    }

public:
    // The change-request forms: Save, and once the request stands on the server its bytes; the
    // wait for the answer is then ended (the answer is the table tests' business).
    Outcome saveForm(ChangeForm& f, const QString& shown) {
        prompter.ok().ok().ok();
        const QStringList records = f.recordsNow();
        f.show();
        f.cmdsave_Click();
        Outcome out;
        if (f.state() == ChangeExchange::State::Waiting) {
            out.stored = HardeningSite::read(f.exchange().requestName());
            QByteArray expected;
            for (const QString& r : records) expected += platform::toCp1252(r) + '\n';
            out.expected = expected;
            // The record holds the value as the box held it, between its commas.
            EXPECT_TRUE(records.join('\n').contains(shown)) << records.join('\n').toStdString();
            f.cmdcancelwait_Click();
        }
        f.close();
        out.messages = prompter.messages();
        return out;
    }

    // The report windows: Run with the program told to write no report, then the request's
    // item lines against the keys the window listed.
    Outcome runReport(ReportWindow& w, const QString& program, const QString& tag,
                      const QString& itemPrefix, const QStringList& keys) {
        SimServer::setKnob(program + QStringLiteral(".no_report"));
        prompter.ok().ok();
        w.Command1_Click();
        Outcome out;
        out.messages = prompter.messages();
        const QString request =
            HardeningSite::pc() + QLatin1Char('_') + tag + QStringLiteral(".TMP");
        // Reached the server as written only when the program ran on it; a run stopped before
        // (a line refused unsent) is a refusal, whose message must say why.
        if (SimServer::calls(program).contains(QStringLiteral("2 ") + request)) {
            QByteArray items;
            for (const QByteArray& line : HardeningSite::read(request).split('\n'))
                if (line.startsWith(itemPrefix.toLatin1())) items += line + '\n';
            out.stored = items;
            for (const QString& key : keys)
                out.expected += platform::toCp1252(itemPrefix + key) + '\n';
        }
        EXPECT_TRUE(w.Command1->isEnabled());
        return out;
    }

};

QLineEdit* box(QWidget& w, const char* name) {
    auto* b = w.findChild<QLineEdit*>(QString::fromLatin1(name));
    EXPECT_NE(b, nullptr) << name;
    return b;
}

// A typed box of a change form; `fill` gives the other fields valid values.
template <class Form>
Field formField(const char* name, const char* boxName, const char* named,
                std::function<void(Form&)> fill) {
    return {name,
            "echo '<record>' > .<request>.todo.tmp",
            {QStringLiteral("answer")},
            named,
            [boxName, fill](HostileInputSimTest& t, const QString& payload) {
                Form f;
                fill(f);
                QLineEdit* b = box(f, boxName);
                b->setText(payload);
                return t.saveForm(f, b->text());
            }};
}

// The test call: Run, and once the program was handed the record, the record file's bytes.
Outcome sendTestCall(HostileInputSimTest& t, fhobiccall& w) {
    t.prompter.ok();
    const TestCall call{w.extensions->currentKey(), w.cbotype->currentText(), w.startdate->date(),
                        w.starttime->time(),        w.cbotime->currentText(),
                        w.cbocharge->currentText(), w.txtnumber->text()};
    w.cmdrun_Click();
    Outcome out;
    out.messages = t.prompter.messages();
    if (out.messages.contains(QStringLiteral("The test call was sent."))) {
        out.stored = HardeningSite::read(testCallFileName(HardeningSite::pc()));
        out.expected = platform::toCp1252(testCallRecord(call)) + '\n';
    }
    return out;
}

// A user added through the permissions window: the user file it wrote, which holds the
// password's digest and nothing of the password itself.
Outcome addUser(HostileInputSimTest& t, const QString& name, const QString& password) {
    fillButtonCatalogue();
    frmPermissions w;
    w.txtadduser->setText(name);
    w.txtaddpasswd->setText(password);
    w.txtconfirmpasswd->setText(password);
    const auto detail = w.picker->lstDivision->findItems("01.RPT Detail Report", Qt::MatchExactly);
    EXPECT_EQ(detail.size(), 1);
    if (!detail.isEmpty()) {
        w.picker->lstDivision->setCurrentItem(detail.first());
        QTest::mouseClick(w.picker->cmdadd, Qt::LeftButton);
    }
    t.prompter.ok();
    QTest::mouseClick(w.cmdadduser, Qt::LeftButton);
    Outcome out;
    out.messages = t.prompter.messages();
    const QString stem = userFileStem(name);
    const QString userFile = HardeningSite::file("ACL/USERS/" + stem + ".USE");
    if (out.messages.contains(QStringLiteral("User %1added.").arg(name))) {
        out.stored = HardeningSite::read("ACL/USERS/" + stem + ".USE");
        out.expected = UserFile::digestOf(password).toLatin1() + '\n';
    }
    EXPECT_TRUE(w.cmdadduser->isEnabled());
    if (isValidUserName(name)) {
        QFile::remove(userFile);
        QFile::remove(HardeningSite::file("ACL/BUTTONS/" + stem + ".BUT"));
    }
    return out;
}

std::vector<Field> fields() {
    return {
        formField<fAddDiv>("DivisionName", "txtDivName", "division name",
                           [](fAddDiv& f) { f.txtdivnumber->setText("61"); }),
        formField<fAddDiv>("DivisionNumber", "txtdivnumber", "division number",
                           [](fAddDiv& f) { f.txtDivName->setText("Hostile"); }),
        formField<fAddDpt>("DepartmentName", "txtdptname", "department name",
                           [](fAddDpt& f) {
                               f.txtdptnumber->setText("181");
                               tablestest::pick(f.cboDivision, "0003 Operations");
                           }),
        formField<fAddext>("ExtensionName", "txtextname", "extension name|name for this extension",
                           [](fAddext& f) {
                               f.txtextnumber->setText("1061");
                               tablestest::pick(f.cboDepartment, "0100 Front Office");
                               for (QLineEdit* b : {f.txtequipment, f.txtcredit, f.txtoverhead,
                                                    f.txttotal, f.txtother})
                                   b->setText("0");
                           }),
        formField<fAddext>(
            "ExtensionCredit", "txtcredit", "credit",
            [](fAddext& f) {
                f.txtextnumber->setText("1062");
                f.txtextname->setText("Hostile");
                tablestest::pick(f.cboDepartment, "0100 Front Office");
                for (QLineEdit* b : {f.txtequipment, f.txtoverhead, f.txttotal, f.txtother})
                    b->setText("0");
            }),
        // A key of the mirror's extension table, listed and sent as an item of the request.
        {"ExtensionKeyFromTable",
         "echo '5 <key>' >> <request>.TMP",
         {QStringLiteral("ORV_B1")},
         // A key the table holds with a control character cannot be sent: the run stops
         // before the program with the line, key and all.
         "extension|shell line cannot hold",
         [](HostileInputSimTest& t, const QString& payload) {
             t.home.write("North/Bats/ext.csv",
                          platform::toCp1252(payload) + ",Hostile\r\n12,Front Desk\r\n");
             t.prompter.ok();  // a line the table split off may be without its name
             fDetailReport w;
             w.allBoxes[1]->setChecked(true);
             return t.runReport(w, "ORV_B1", "DETAIL", "5 ", w.lists->selected().keys());
         }},
        // A typed phone number of the watch-dog report.
        {"WatchdogNumber",
         "echo 'PH-<number>' >> <request>.TMP",
         {QStringLiteral("ORV_B5")},
         "search criteria",
         [](HostileInputSimTest& t, const QString& payload) {
             // A saved number, so the window opens without a message.
             t.home.write("KTReports.ini", "[Site2]\r\nNumWDogEntries=1\r\nwdognum0=555\r\n");
             fWatchdog w;
             w.txtitem->setText(payload);
             w.cmdadd_Click();
             QStringList typed;
             for (int i = 0; i < w.lstItem->count(); ++i) typed << w.lstItem->item(i)->text();
             return t.runReport(w, "ORV_B5", "WDOG", "PH-", typed);
         }},
        // The site's server folder, a site setting: the folder change of every session.
        {"SiteServerFolder",
         "cd '<folder>'",
         {},
         "folder",
         [](HostileInputSimTest& t, const QString& payload) {
             G().g_SiteHomedir[HardeningSite::kIndex] = payload;
             fDetailReport w;
             w.allBoxes[1]->setChecked(true);
             t.prompter.ok().ok();
             w.Command1_Click();
             Outcome out;
             out.messages = t.prompter.messages();
             out.expected = platform::toCp1252(QStringLiteral("cd ") + shellQuote(payload));
             // The journal's bytes as the shell read them (Windows-1252, not UTF-8).
             QFile journal(SimServer::stateDir() + QStringLiteral("/journal"));
             if (journal.open(QIODevice::ReadOnly))
                 for (const QByteArray& entry : journal.readAll().split('\n'))
                     if (entry.startsWith("SHELL cd ")) out.stored = entry.mid(6);
             EXPECT_TRUE(w.Command1->isEnabled());
             return out;
         }},
        // The typed user name of the login: refused (the login never says which part was
        // wrong) or looked up quoted; nothing of it is stored.
        {"LoginUserName",
         "ls -1 '<USER>.USE'",
         {},
         "invalid login|user name",
         [](HostileInputSimTest& t, const QString& payload) {
             fMain::instance()->disableAllButtons();
             auto* login = new frmLogin({QStringLiteral("Default"), HardeningSite::name()});
             login->setAttribute(Qt::WA_DeleteOnClose, false);
             login->cboSites->setCurrentIndex(HardeningSite::kIndex);
             login->show();
             login->txtUserName->setText(payload);
             login->txtPassword->setText(QStringLiteral("secret1"));
             t.prompter.ok();
             QTest::mouseClick(login->cmdOK, Qt::LeftButton);
             Outcome out;
             out.messages = t.prompter.messages();
             EXPECT_TRUE(login->cmdOK->isEnabled());
             delete login;
             fMain::unloadInstance();
             return out;
         }},
        // The test call's phone number and its duration (minutes, typed into a box that also
        // offers a list), echoed into the record file the program reads.
        {"TestCallNumber",
         "echo <record>><PC>_HOBIC.TMP",
         {QStringLiteral("ORV_RHOBIC")},
         "phone number",
         [](HostileInputSimTest& t, const QString& payload) {
             fhobiccall w;
             w.show();
             w.cbotime->setCurrentText("3");
             w.cbocharge->setCurrentText("1.00");
             w.txtnumber->setText(payload);
             return sendTestCall(t, w);
         }},
        {"TestCallDuration",
         "echo <record>><PC>_HOBIC.TMP",
         {QStringLiteral("ORV_RHOBIC")},
         "duration",
         [](HostileInputSimTest& t, const QString& payload) {
             fhobiccall w;
             w.show();
             w.cbotime->setCurrentText(payload);
             w.cbocharge->setCurrentText("1.00");
             w.txtnumber->setText("411");
             return sendTestCall(t, w);
         }},
        // A new user's name and password: the name becomes file names in shell lines, the
        // password only its digest in the user file.
        {"NewUserName",
         "ls -1 '<USER>.USE'; echo <digest> > <USER>.USE",
         {},
         "user name",
         [](HostileInputSimTest& t, const QString& payload) {
             return addUser(t, payload, QStringLiteral("secret1"));
         }},
        {"NewUserPassword",
         "echo <digest> > <USER>.USE",
         {},
         "password",
         [](HostileInputSimTest& t, const QString& payload) {
             return addUser(t, QStringLiteral("HRDPW"), payload);
         }},
        // A user file on the server whose name holds the payload: listed for deletion only
        // when it names a user, and then deleted alone.
        {"ListedUserName",
         "rm <USER>.USE <USER>.BUT",
         {},
         "",
         [](HostileInputSimTest& t, const QString& payload) {
             const QString users = HardeningSite::file("ACL/USERS");
             const QStringList before = QDir(users).entryList({"*.USE"}, QDir::Files);
             // A file name holds no '/': the payload's become '_', so a command it makes run
             // in this folder would leave a file here, which the end checks for.
             const QString stem = QString(payload).replace(QLatin1Char('/'), QLatin1Char('_'));
             const QString planted = users + "/" + stem + ".USE";
             {
                 QFile f(planted);
                 // A name longer than a file name can be is never on the server.
                 if (f.open(QIODevice::WriteOnly))
                     f.write("E52D98C459819A11775936D8DFBB7929\n");
                 else
                     EXPECT_GT(stem.size() + 4, kMaxServerFileName) << planted.toStdString();
             }
             G().g_UserName = QStringLiteral("alice");
             // A file name that begins with '-' is an option to ls: the server writes no list,
             // which is told.
             if (stem.startsWith(QLatin1Char('-'))) t.prompter.ok();
             frmdeluser w;
             Outcome out;
             QStringList listed;
             for (int i = 0; i < w.cbousers->count(); ++i) listed << w.cbousers->itemText(i);
             // Listed as the system lists users: the file's name without ".USE", when it
             // names one.
             QStringList planted_listed;
             for (const QString& n : listed)
                 if (!before.contains(n + ".USE")) planted_listed << n;
             out.stored = planted_listed.join('\n').toUtf8();
             // A name not in upper case is no login's: left out and told.
             if (isValidUserName(stem) && stem == stem.toUpper()) out.expected = stem.toUtf8();
             if (planted_listed.size() == 1) {
                 w.cbousers->setCurrentIndex(w.cbousers->findText(planted_listed.first()));
                 t.prompter.yes().ok();
                 w.cmddeleteuser_Click();
                 EXPECT_FALSE(QFile::exists(planted));
             }
             // No other user's file went with it, and nothing came.
             QFile::remove(planted);
             EXPECT_EQ(QDir(users).entryList({"*.USE"}, QDir::Files), before);
             out.messages = t.prompter.messages();
             return out;
         }},
        // A print job id of the server's lpq listing: listed only when it is a number, and
        // removed by it alone.
        {"PrintJobId",
         "sudo lprm <id>",
         {QStringLiteral("lpq"), QStringLiteral("lprm")},
         "",
         [](HostileInputSimTest& t, const QString& payload) {
             SimServer::setKnob("print_queue", payload + " root hostile.rep 10\n");
             frmprintjobs w;
             w.show();
             w.lists->selectAll();
             const QStringList keys = w.lists->selected().keys();
             for (const QString& k : keys)
                 EXPECT_TRUE(QRegularExpression("^[0-9]+$").match(k).hasMatch()) << k.toStdString();
             t.prompter.ok();
             w.Command1_Click();
             Outcome out;
             out.messages = t.prompter.messages();
             out.stored = SimServer::calls("lprm").join('\n').toUtf8();
             out.expected = keys.join('\n').toUtf8();
             return out;
         }},
        // An archive name of a backup record on the server: listed only when it is an archive
        // name, and then deleted by it alone.
        {"BackupArchiveName",
         "sudo rm -f <archive> <archive>.info",
         {},
         "do not name a backup archive",
         [](HostileInputSimTest& t, const QString& payload) {
             const QString backups = HardeningSite::file("backup");
             QDir dir(backups);
             for (const QString& f : dir.entryList({"143005_120908_*"}, QDir::Files)) dir.remove(f);
             const QString name = "143005_120908_" + payload + ".tar.gz";
             {
                 QFile info(backups + "/zz-hostile-row.info");
                 EXPECT_TRUE(info.open(QIODevice::WriteOnly));
                 info.write(platform::toCp1252(name + ",12/9/2008,A,,,HRD\n"));
                 QFile archive(backups + "/" + name);
                 if (archive.open(QIODevice::WriteOnly)) archive.write("archive");
             }
             t.prompter.ok();
             fdeletebackups d;
             Outcome out;
             int ours = 0;
             for (int r = 1; r <= d.MSFlexGrid1->dataRows(); ++r) {
                 const bool mine = d.MSFlexGrid1->cell(r, 1).startsWith("143005_120908_");
                 d.MSFlexGrid1->setTicked(r, mine);
                 ours += mine;
             }
             if (ours > 0) {
                 t.prompter.yes().ok();
                 d.Command1_Click();
                 QByteArray removals;
                 for (const QString& e : SimServer::entries("SUDO"))
                     if (e.startsWith("rm")) removals += platform::toCp1252(e) + '\n';
                 out.stored = removals;
                 out.expected =
                     platform::toCp1252("rm -f " + name + "\nrm -f " + name + ".info\n");
             }
             out.messages = t.prompter.messages();
             QFile::remove(backups + "/zz-hostile-row.info");
             return out;
         }},
    };
}

TEST_P(HostileInputSimTest, IsRefusedByNameOrReachesTheServerAsWrittenAndRunsNothing) {
    const auto& [field, payload] = GetParam();
    const Outcome out = field.run(*this, payload.text);

    EXPECT_FALSE(QFile::exists(kCanary)) << "the payload ran on the server";
    for (const QString& call : SimServer::entries(QStringLiteral("CALL"))) {
        const QString program = call.section(QLatin1Char(' '), 0, 0);
        // The answerer also answers what other programs left in their folders, and the tables'
        // writer is what every test's set-up runs; neither is a payload's doing.
        if (program == QStringLiteral("answer") && !call.contains(HardeningSite::pc())) continue;
        if (program == QStringLiteral("do_csv.sh")) continue;
        EXPECT_TRUE(field.programs.contains(program)) << "ran " << call.toStdString();
    }
    if (out.stored) {
        EXPECT_EQ(out.stored->toStdString(), out.expected.toStdString()) << field.line;
    } else {
        const QRegularExpression named(QString::fromLatin1(field.named),
                                       QRegularExpression::CaseInsensitiveOption);
        EXPECT_TRUE(out.messages.join('\n').contains(named))
            << "refused without naming the field: " << out.messages.join('|').toStdString();
    }
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<Field, Payload>>& info) {
    return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(Fields, HostileInputSimTest,
                         ::testing::Combine(::testing::ValuesIn(fields()),
                                            ::testing::ValuesIn(payloads())),
                         caseName);

}  // namespace
