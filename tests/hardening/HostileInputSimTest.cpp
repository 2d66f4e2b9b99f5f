// Every field whose value reaches a shell line on the server, crossed with text a shell would act
// on, against the stand-in server. For each pair: no canary file appears, no server program runs
// that the field's own line does not run, no file of the site folder but the field's own is
// made, cut or changed, and the field is either refused with a message that names it or reaches
// the server exactly as the system writes it.
//
// A field is one row of fields() below: how the payload gets into it (a typed box, a site
// setting, a table of the mirror), what runs it and what the server then holds. One test runs
// every payload of its row, each alone and after the row's own valid value.
#include "support/ChangeForms.h"
#include "support/ProgramWindows.h"

#include "HardeningSite.h"
#include "KeptSessions.h"
#include "access/AccessFiles.h"
#include "access/frmLogin.h"
#include "access/PasswordWindows.h"
#include "access/frmPermissions.h"
#include "access/frmdeluser.h"
#include "access/frmmodusers.h"
#include "common/ButtonCatalogue.h"
#include "maintenance/BackupLists.h"
#include "common/ShellQuote.h"
#include "menu/fMain.h"
#include "platform/TextCodec.h"
#include "reports/selection/fDetailReport.h"
#include "reports/selection/fWatchdog.h"
#include "reports/summary/FAreacode.h"
#include "reports/summary/fstatsreport.h"
#include "prices/PriceList.h"
#include "prices/PriceModifyForm.h"
#include "rates/AreaCodes.h"
#include "rates/fcallcalc.h"
#include "rates/frmaddac.h"
#include "rates/frmeditAC.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "tables/DepartmentForms.h"
#include "tables/DivisionForms.h"
#include "tables/ExtensionForms.h"
#include "tables/LineForms.h"
#include "tables/TablesTestSupport.h"
#include "utilities/DeleteCalls.h"
#include "utilities/TestCall.h"
#include "utilities/fdeletecalls.h"
#include "utilities/fhobiccall.h"
#include "utilities/frmprintjobs.h"
#include "widgets/KeyedPickList.h"
#include "widgets/ListPair.h"
#include "widgets/SortableGrid.h"
#include "widgets/AppControl.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QCoreApplication>
#include <QDateEdit>
#include <QTimeEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <tuple>
#include <vector>

using namespace quillon;
using hardening::fileBytes;
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
        {"HistoryLast", QStringLiteral("!!")},
        {"HistoryLastWord", QStringLiteral("!$")},
        {"HistoryPrevious", QStringLiteral("!-1")},
        {"Redirect", ">" + kCanary},
        {"RedirectIn", QStringLiteral("</etc/passwd")},
        {"Comment", QStringLiteral("a #b")},
        {"TrailingBackslash", QStringLiteral("a\\")},
        {"Comma", QStringLiteral("a,b")},
        {"Tab", QStringLiteral("a\tb")},
        {"Variable", QStringLiteral("$HOME")},
        {"Braces", QStringLiteral("{a,b}")},
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
    // A value the field takes, which each payload also follows; kSiteFolder stands for the
    // suites' site folder. Empty: the payloads run alone.
    QString valid;
    // The files of the site folder the field's own work may make or change (patterns), besides
    // the request and answer files named for this computer.
    QStringList own;
};

const QString kSiteFolder = QStringLiteral("<site folder>");
// The stand-in's table store, which the answer to an accepted change request rewrites.
const QStringList kAnsweredTables{QStringLiteral(".tables/*")};

void PrintTo(const Field& f, std::ostream* os) {
    *os << f.name;
}

// The files of the site folder, each with a digest of its bytes.
QMap<QString, QByteArray> siteFiles() {
    QMap<QString, QByteArray> out;
    const QDir site(HardeningSite::folder());
    QDirIterator it(site.path(), QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        out.insert(site.relativeFilePath(path),
                   f.open(QIODevice::ReadOnly)
                       ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Md5)
                       : QByteArray("unreadable"));
    }
    return out;
}

class HostileInputSimTest : public hardening::HardeningTest,
                            public ::testing::WithParamInterface<Field> {
protected:
    void SetUp() override {
        HardeningTest::SetUp();
        // All payloads of a field in one session where its windows allow it.
        m_kept = std::make_unique<hardening::KeptSessions>();
        ServerWork::install(m_kept.get());
    }
    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ServerWork::install(nullptr);
        m_kept.reset();
        QFile::remove(kCanary);
        HardeningTest::TearDown();
    }
    std::unique_ptr<hardening::KeptSessions> m_kept;

    // The start of one payload's run: the program's settings, the prompter, the server's
    // knobs, journal and request files as a fresh case has them, and no canary.
    void startRun() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SimServer::clearKnobs();
        useImmediateAnswer();
        QFile::remove(kCanary);
        prompter.reset();
        quillon::resetGlobals();
        ASSERT_TRUE(site.install());
        ASSERT_TRUE(HardeningSite::prepareCase());
        home.write("North/Bats/div.csv", "3,Operations\r\n");
        home.write("North/Bats/dpt.csv", "100,Front Office,3\r\n");
        home.write("North/Bats/ext.csv", "12,Front Desk\r\n");
        home.write("North/Bats/lt.csv", "1,Administrative\r\n");
    }

    void check(const Field& field, const Outcome& out,
               const QMap<QString, QByteArray>& before) {
        EXPECT_FALSE(QFile::exists(kCanary)) << "the payload ran on the server";
        for (const QString& call : SimServer::entries(QStringLiteral("CALL"))) {
            const QString program = call.section(QLatin1Char(' '), 0, 0);
            // The answerer also answers what other programs left in their folders, and the
            // tables' writer is what every test's set-up runs; neither is a payload's doing.
            if (program == QStringLiteral("answer") && !call.contains(HardeningSite::pc()))
                continue;
            if (program == QStringLiteral("do_csv.sh")) continue;
            EXPECT_TRUE(field.programs.contains(program)) << "ran " << call.toStdString();
        }
        // Nothing in the site folder made, cut or changed but the field's own files and the
        // request and answer files named for this computer (the answerer writes an answer
        // under a hidden name first).
        QStringList own{HardeningSite::pc() + QStringLiteral("*"),
                        QStringLiteral(".") + HardeningSite::pc() + QStringLiteral("*")};
        own += field.own;
        const auto isOwn = [&](const QString& file) {
            for (const QString& pattern : own)
                if (QRegularExpression::fromWildcard(pattern).match(file).hasMatch()) return true;
            return false;
        };
        const QMap<QString, QByteArray> after = siteFiles();
        for (auto it = after.begin(); it != after.end(); ++it)
            if (before.value(it.key()) != it.value() && !isOwn(it.key()))
                ADD_FAILURE() << (before.contains(it.key()) ? "changed " : "made ")
                              << it.key().toStdString();
        for (auto it = before.begin(); it != before.end(); ++it)
            if (!after.contains(it.key()) && !isOwn(it.key()))
                ADD_FAILURE() << "removed " << it.key().toStdString();
        if (out.stored) {
            EXPECT_EQ(out.stored->toStdString(), out.expected.toStdString()) << field.line;
        } else {
            const QRegularExpression named(QString::fromLatin1(field.named),
                                           QRegularExpression::CaseInsensitiveOption);
            EXPECT_TRUE(out.messages.join('\n').contains(named))
                << "refused without naming the field: " << out.messages.join('|').toStdString();
        }
    }

public:
    // The change-request forms: Save, and once the request stands on the server its bytes; the
    // wait for the answer is then ended (the answer is the table tests' business).
    Outcome saveForm(ChangeForm& f, const QString& record) {
        prompter.ok().ok().ok();
        f.show();
        f.cmdsave_Click();
        Outcome out;
        if (f.state() == ChangeExchange::State::Waiting) {
            out.stored = HardeningSite::read(f.exchange().requestName());
            out.expected = platform::toCp1252(record) + '\n';
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

using testsupport::box;

// A typed box of a change form; `fill` gives the other fields valid values, `record` is the
// request's record for the box's value.
template <class Form>
Field formField(const char* name, const char* boxName, const char* named, const char* valid,
                std::function<void(Form&)> fill, std::function<QString(const QString&)> record) {
    return {name,
            "echo '<record>' > .<request>.todo.tmp",
            {QStringLiteral("answer")},
            named,
            [boxName, fill, record](HostileInputSimTest& t, const QString& payload) {
                Form f;
                fill(f);
                QLineEdit* b = box(f, boxName);
                b->setText(payload);
                return t.saveForm(f, record(b->text()));
            },
            QString::fromLatin1(valid),
            kAnsweredTables};
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
    hardening::fillAddUserForm(w, name, password);
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

// A modify form whose stored old values (the manager grid's row, as the mirror holds it) carry
// the payload; `open` opens it on that row with valid new values typed. The old values go into
// the record as stored, so one that a shell line cannot hold stops the request unsent.
Field storedField(const char* name, const char* named, const char* valid,
                  std::function<std::unique_ptr<ChangeForm>(const QString&)> open,
                  std::function<QString(const QString&)> record) {
    return {name,
            "echo '<record>' > <request>.todo",
            {QStringLiteral("answer")},
            named,
            [open, record](HostileInputSimTest& t, const QString& payload) {
                t.prompter.ok();  // a table the form looks things up in may be missing
                const std::unique_ptr<ChangeForm> f = open(payload);
                return t.saveForm(*f, record(payload));
            },
            QString::fromLatin1(valid),
            kAnsweredTables};
}

// A typed box of a modify form opened on a stored row; `record` is the request's record for
// the box's value as the box then holds it (a number box keeps only what it takes).
Field typedField(const char* name, const char* boxName, const char* named, const char* valid,
                 std::function<std::unique_ptr<ChangeForm>()> open,
                 std::function<QString(const QString&)> record) {
    return {name,
            "echo '<record>' > .<request>.todo.tmp",
            {QStringLiteral("answer")},
            named,
            [boxName, open, record](HostileInputSimTest& t, const QString& payload) {
                const std::unique_ptr<ChangeForm> f = open();
                QLineEdit* b = box(*f, boxName);
                b->setText(payload);
                return t.saveForm(*f, record(b->text()));
            },
            QString::fromLatin1(valid),
            kAnsweredTables};
}

// An area-code record as the server receives it: every run of blanks one blank.
QString ldAdd(const QString& area, const QString& prefix, const QString& name, const QString& rate) {
    return QString("1,add,ld," + area + "," + prefix + "," + name + ",1," + rate)
        .replace(QRegularExpression(" {2,}"), " ");
}

void fillAreaCode(frmaddac& f) {
    f.txtname->setText("Hostile");
    f.txtareacode->setText("312");
    f.txtprefix->setText("555");
    f.cborate->setCurrentText("Local");
}

// A key of one of the four tables the delete-calls window lists, planted there with the
// table's own rows: every listed key is chosen, and each goes into a record of its own.
Field deleteCallsField(const char* name, int kind, const char* table, const char* ownRow) {
    return {name,
            "echo '<n>,deletecalls,<word>,<key>,<date>,<time>' > <request>.todo",
            {QStringLiteral("answer")},
            "key",
            [kind, table, ownRow](HostileInputSimTest& t, const QString& payload) {
                t.home.write(QStringLiteral("North/Bats/") + QString::fromLatin1(table),
                             platform::toCp1252(payload) + ",Hostile\r\n" + ownRow + "\r\n");
                t.prompter.ok().ok();  // a line the table split off may be without its name
                fdeletecalls f;
                f.show();
                f.Optreporttype[kind]->click();
                f.lists->selectAll();
                QStringList records;
                const QStringList keys = f.lists->selected().keys();
                for (int i = 0; i < keys.size(); ++i)
                    records << QStringLiteral("%1,deletecalls,%2,%3,%4,%5")
                                   .arg(i + 1)
                                   .arg(deleteCallsKinds()[kind].word, keys[i],
                                        f.startdate->date().toString("MMddyy"),
                                        f.starttime->time().toString("HHmm"));
                t.prompter.reset();
                t.prompter.yes();
                return t.saveForm(f, records.join('\n'));
            },
            "7",
            kAnsweredTables};
}

// A box of the add-extension form; the others hold valid values. `place` is the box's place
// in the record after "1,add,ext,": number, name, department, equipment, credit, overhead,
// total, other (the department is picked, so it has no box here).
Field extensionField(const char* name, int place, const char* named) {
    static const char* const boxes[] = {"txtextnumber", "txtextname", nullptr, "txtequipment",
                                        "txtcredit",    "txtoverhead", "txttotal", "txtother"};
    static const char* const valid[] = {"1063", "Hostile", "0100", "0", "0", "0", "0", "0"};
    return formField<fAddext>(
        name, boxes[place], named, valid[place],
        [place](fAddext& f) {
            for (int i : {0, 1, 3, 4, 5, 6, 7})
                if (i != place) box(f, boxes[i])->setText(QString::fromLatin1(valid[i]));
            tablestest::pick(f.cboDepartment, "0100 Front Office");
        },
        [place](const QString& v) {
            QStringList values;
            for (int i = 0; i < 8; ++i) values << (i == place ? v : QString::fromLatin1(valid[i]));
            return "1,add,ext," + values.join(',');
        });
}

// The price lines of the stand-in's tables that the modify rows open: Guest "Local" (rate and
// calculation rows 250) and Guest "United Kingdom" (rows 209).
PriceTables priceTables() {
    return {"250,0.15,0.10,0.15,0.10,0.50,250\n209,1.10,0.90,1.10,0.90,0,209\n",
            "250,10,0.25,7.5,6,30,60,30,60,30,1,0\n209,0,0,7.5,6,30,60,60,60,60,0,0\n",
            "44,United Kingdom,9,209\n"};
}
PriceLine guestLocalPriceLine() {
    for (const PriceLine& l :
         buildPriceList(PriceListKind::Domestic, PriceSet::Guest, priceTables()).lines)
        if (l.rateFields.value(0) == QStringLiteral("250")) return l;
    ADD_FAILURE() << "no Local line";
    return {};
}
PriceLine guestUkPriceLine() {
    const PriceList list =
        buildPriceList(PriceListKind::International, PriceSet::Guest, priceTables());
    EXPECT_FALSE(list.lines.isEmpty());
    return list.lines.value(0);
}

// A new password typed into one of the two password windows, for a user planted on the server
// with the password "secret1": the user file then holds the new password's digest, or, when the
// window did not change it, the old one.
Outcome changePassword(HostileInputSimTest& t, bool own, const QString& password) {
    const QString user = own ? QStringLiteral("HRDOWN") : QStringLiteral("HRDADM");
    const QString file = "ACL/USERS/" + user + ".USE";
    const QByteArray old = UserFile::digestOf(QStringLiteral("secret1")).toLatin1() + '\n';
    {
        QFile f(HardeningSite::file(file));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    t.prompter.ok().ok();
    QPushButton* change = nullptr;
    const std::unique_ptr<PasswordWindow> w = hardening::openPasswordWindow(own, user, &change);
    if (auto* admin = qobject_cast<frmchangepasswd*>(w.get()))
        EXPECT_EQ(admin->cbousers->currentText(), user);
    w->txtnewpasswd->setText(password);
    w->txtconfirmpasswd->setText(password);
    QTest::mouseClick(change, Qt::LeftButton);
    Outcome out;
    out.messages = t.prompter.messages();
    out.stored = HardeningSite::read(file);
    out.expected = w->result() == QDialog::Accepted
                       ? UserFile::digestOf(password).toLatin1() + '\n'
                       : old;
    QFile::remove(HardeningSite::file(file));
    return out;
}

// One of the call calculator's three typed boxes (area code, prefix, duration): the record the
// cost program reads is the three texts and the line type's key, between commas.
Field callCalcField(const char* name, int which, const char* valid) {
    return {name,
            "echo '<area>,<prefix>,<duration>,<line type>'><PC>_CCAL.TMP",
            {QStringLiteral("ORV_CCAL")},
            "area code|prefix|duration",
            [which](HostileInputSimTest& t, const QString& payload) {
                SimServer::setKnob(QStringLiteral("ORV_CCAL.no_report"));
                fcallcalc w;
                w.show();
                QLineEdit* boxes[] = {w.txtarea, w.txtprefix, w.txtduration};
                const char* values[] = {"617", "555", "5"};
                for (int i = 0; i < 3; ++i)
                    boxes[i]->setText(QString::fromLatin1(i == which ? "" : values[i]));
                boxes[which]->setText(payload);
                w.cboDivision->setCurrentIndex(0);
                t.prompter.ok().ok();
                w.Command1_Click();
                Outcome out;
                out.messages = t.prompter.messages();
                const QString request = HardeningSite::pc() + QStringLiteral("_CCAL.TMP");
                if (SimServer::calls("ORV_CCAL").contains("0 " + request)) {
                    out.stored = HardeningSite::read(request);
                    out.expected = platform::toCp1252(
                                       QStringList{w.txtarea->text(), w.txtprefix->text(),
                                                   w.txtduration->text(), "0001"}
                                           .join(',')) +
                                   '\n';
                }
                return out;
            },
            QString::fromLatin1(valid)};
}

Field passwordField(const char* name, bool own) {
    return {name,
            "echo <digest> > .<USER>.USE.tmp",
            {},
            "password",
            [own](HostileInputSimTest& t, const QString& payload) {
                return changePassword(t, own, payload);
            },
            "secret2",
            {"ACL/USERS/*"}};
}

// A backup record of the server's backup folder whose archive name holds the payload, and the
// archive itself where a file can have that name; earlier rows' archives are removed first.
const QString kArchiveRecord = QStringLiteral("backup/zz-hostile-row.info");
QString plantArchive(const QString& payload) {
    const QString backups = HardeningSite::file("backup");
    QDir dir(backups);
    for (const QString& f : dir.entryList({"143005_120908_*"}, QDir::Files)) dir.remove(f);
    const QString name = "143005_120908_" + payload + ".tar.gz";
    QFile info(HardeningSite::file(kArchiveRecord));
    EXPECT_TRUE(info.open(QIODevice::WriteOnly));
    info.write(platform::toCp1252(name + ",12/9/2008,A,,,HRD\n"));
    QFile archive(backups + "/" + name);
    if (archive.open(QIODevice::WriteOnly)) archive.write("archive");
    return name;
}

std::vector<Field> fields() {
    return {
        formField<fAddDiv>("DivisionName", "txtDivName", "division name", "Hostile",
                           [](fAddDiv& f) { f.txtdivnumber->setText("61"); },
                           [](const QString& v) { return "1,add,div,61," + v; }),
        formField<fAddDiv>("DivisionNumber", "txtdivnumber", "division number", "61",
                           [](fAddDiv& f) { f.txtDivName->setText("Hostile"); },
                           [](const QString& v) { return "1,add,div," + v + ",Hostile"; }),
        formField<fAddDpt>("DepartmentName", "txtdptname", "department name", "Front",
                           [](fAddDpt& f) {
                               f.txtdptnumber->setText("181");
                               tablestest::pick(f.cboDivision, "0003 Operations");
                           },
                           [](const QString& v) { return "1,add,dpt,181," + v + ",0003"; }),
        formField<fAddext>("ExtensionName", "txtextname", "extension name|name for this extension", "Desk",
                           [](fAddext& f) {
                               f.txtextnumber->setText("1061");
                               tablestest::pick(f.cboDepartment, "0100 Front Office");
                               for (QLineEdit* b : {f.txtequipment, f.txtcredit, f.txtoverhead,
                                                    f.txttotal, f.txtother})
                                   b->setText("0");
                           },
                           [](const QString& v) {
                               return "1,add,ext,1061," + v + ",0100,0,0,0,0,0";
                           }),
        formField<fAddext>(
            "ExtensionCredit", "txtcredit", "credit", "0",
            [](fAddext& f) {
                f.txtextnumber->setText("1062");
                f.txtextname->setText("Hostile");
                tablestest::pick(f.cboDepartment, "0100 Front Office");
                for (QLineEdit* b : {f.txtequipment, f.txtoverhead, f.txttotal, f.txtother})
                    b->setText("0");
            },
            [](const QString& v) { return "1,add,ext,1062,Hostile,0100,0," + v + ",0,0,0"; }),
        formField<fAddDpt>("DepartmentNumber", "txtdptnumber", "department number", "181",
                           [](fAddDpt& f) {
                               f.txtdptname->setText("Hostile");
                               tablestest::pick(f.cboDivision, "0003 Operations");
                           },
                           [](const QString& v) { return "1,add,dpt," + v + ",Hostile,0003"; }),
        extensionField("ExtensionNumber", 0, "extension number"),
        extensionField("ExtensionEquipment", 3, "equipment"),
        extensionField("ExtensionOverhead", 5, "overhead"),
        extensionField("ExtensionTotal", 6, "total"),
        extensionField("ExtensionOther", 7, "other"),
        // The modify forms' typed names, after the stored row.
        typedField("ModifyDivisionName", "txtDivName", "division name", "Ops",
                   [] { return std::unique_ptr<ChangeForm>(new fEditDiv({"0003", "Operations"})); },
                   [](const QString& v) { return "1,mod,div,0003,\"Operations\",0003,\"" + v + "\""; }),
        typedField("ModifyDepartmentName", "txtdptname", "department name", "Front",
                   [] {
                       return std::unique_ptr<ChangeForm>(
                           new feditdpt({"0100", "Front Office", "3"}));
                   },
                   [](const QString& v) {
                       return "1,mod,dpt,0100,\"Front Office\",3,0100,\"" + v + "\",0003 ";
                   }),
        typedField("ModifyExtensionName", "txtextname", "extension name|name for this extension",
                   "Desk",
                   [] {
                       return std::unique_ptr<ChangeForm>(new feditext(
                           {"0012", "Front Desk", "100", "12.50", "0.00", "2.00", "148", "0"}));
                   },
                   [](const QString& v) {
                       return "1,mod,ext,0012,\"Front Desk\",100,12.50,0.00,2.00,148,0,0012,\"" + v +
                              "\",0100,12.50,0.00,2.00,148,0  ";
                   }),
        // The price lists' modify forms: a typed amount goes into both halves of its pair.
        typedField("DomesticPriceInitialCost", "txtoaic", "cost", "0.20",
                   [] {
                       return std::unique_ptr<ChangeForm>(
                           new frmdomesticpricingmodify(guestLocalPriceLine()));
                   },
                   [](const QString& v) {
                       return "1,mod,rate,250,0.15,0.10,0.15,0.10,0.50,250,250," + v + ",0.10," + v +
                              ",0.10,0.50,250  \n2,mod,calc,250,10,0.25,7.5,6,30,60,30,60,30,1,0,"
                              "250,10,0.25,7.5,6,30,60,30,60,30,1,0  ";
                   }),
        typedField("InternationalPriceSurcharge", "txtmarkup", "surcharge|markup", "0.25",
                   [] {
                       return std::unique_ptr<ChangeForm>(
                           new frminternationalpricingmodify(guestUkPriceLine()));
                   },
                   [](const QString& v) {
                       return "1,mod,rate,209,1.10,0.90,1.10,0.90,0,209,209,1.10,0.90,1.10,0.90," + v +
                              ",209  \n2,mod,calc,209,0,0,7.5,6,30,60,60,60,60,0,0,"
                              "209,0,0,7.5,6,30,60,60,60,60,0,0  ";
                   }),
        formField<FAddLine>("LineNumber", "txtlinenumber", "line number", "8",
                            [](FAddLine& f) {
                                tablestest::pick(f.cboext, "0012 Front Desk");
                                tablestest::pick(f.cbolt, "0001 Administrative");
                            },
                            [](const QString& v) { return "1,add,line," + v + ",0012,0001"; }),
        storedField(
            "ModifyDivisionStoredName", "name|shell line cannot hold", "Operations",
            [](const QString& p) {
                auto f = std::make_unique<fEditDiv>(QStringList{"0003", p});
                box(*f, "txtDivName")->setText("Ops");
                return f;
            },
            [](const QString& p) { return "1,mod,div,0003,\"" + p + "\",0003,\"Ops\""; }),
        storedField(
            "ModifyExtensionStoredEquipment", "equipment|shell line cannot hold", "12.50",
            [](const QString& p) {
                auto f = std::make_unique<feditext>(
                    QStringList{"0012", "Front Desk", "100", p, "0.00", "2.00", "148", ""});
                box(*f, "txtequipment")->setText("12.50");
                box(*f, "txtother")->setText("0");
                return f;
            },
            [](const QString& p) {
                return "1,mod,ext,0012,\"Front Desk\",100," + p +
                       ",0.00,2.00,148,,0012,\"Front Desk\",0100,12.50,0.00,2.00,148,0  ";
            }),
        formField<frmaddac>("AreaCodeAddName", "txtname", "name", "Hostile", fillAreaCode,
                            [](const QString& v) { return ldAdd("312", "555", v, "250"); }),
        formField<frmaddac>("AreaCodeAddAreaCode", "txtareacode", "area code", "312",
                            fillAreaCode,
                            [](const QString& v) { return ldAdd(v, "555", "Hostile", "250"); }),
        formField<frmaddac>("AreaCodeAddPrefix", "txtprefix", "prefix", "555", fillAreaCode,
                            [](const QString& v) { return ldAdd("312", v, "Hostile", "250"); }),
        // The add form's rate, typed into a box that offers the list.
        {"AreaCodeAddRate",
         "echo '<record>' > <request>.todo",
         {QStringLiteral("answer")},
         "rate|pricing",
         [](HostileInputSimTest& t, const QString& payload) {
             frmaddac f;
             fillAreaCode(f);
             f.cborate->setCurrentText(payload);
             const std::optional<QString> rate = rateForChoice(addRateChoices(), payload);
             return t.saveForm(f, ldAdd("312", "555", "Hostile", rate.value_or("<none>")));
         },
         "Local",
         kAnsweredTables},
        callCalcField("CallCalculatorAreaCode", 0, "617"),
        callCalcField("CallCalculatorPrefix", 1, "555"),
        callCalcField("CallCalculatorDuration", 2, "5"),
        // The area-code modify form: the location typed, and the location as stored.
        storedField(
            "AreaCodeModifyName", "name", "Chicago",
            [](const QString& p) {
                auto f = std::make_unique<frmeditAC>(
                    QStringList{"1", "312", "555", "Chicago IL", "250", "Local"});
                f->txtname->setText(p);
                return f;
            },
            [](const QString& p) { return "1,mod,ld,312,555,Chicago IL,1,250,312,555," + p + ",1,250"; }),
        storedField(
            "AreaCodeModifyStoredName", "stored name", "Chicago IL",
            [](const QString& p) {
                auto f = std::make_unique<frmeditAC>(
                    QStringList{"1", "312", "555", p, "250", "Local"});
                f->txtname->setText("Chicago");
                return f;
            },
            [](const QString& p) { return "1,mod,ld,312,555," + p + ",1,250,312,555,Chicago,1,250"; }),
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
         },
         "13"},
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
         },
         "411"},
        // The statistics report's typed value, and the interval a report window takes (the
        // date choice "Interval"): each an item of the request.
        {"StatsReportValue",
         "echo  '1 <value>' >> <request>.TMP",
         {QStringLiteral("ORV_B4")},
         "value",
         [](HostileInputSimTest& t, const QString& payload) {
             fstatsreport w;
             w.show();
             w.txtValue->setText(payload);
             return t.runReport(w, "ORV_B4", "STATS", "1 ", {w.txtValue->text()});
         },
         "10"},
        {"ReportInterval",
         "echo  'I <interval>' >> <request>.TMP",
         {QStringLiteral("ORV_B4")},
         "interval",
         [](HostileInputSimTest& t, const QString& payload) {
             fstatsreport w;
             w.show();
             w.txtValue->setText("10");
             w.Optdate[2]->setChecked(true);
             w.txtinterval->setText(payload);
             return t.runReport(w, "ORV_B4", "STATS", "I ", {w.txtinterval->text()});
         },
         "7"},
        // An area code of the area-code report, typed and added to its list.
        {"AreaReportAreaCode",
         "echo  'A <area>' >> <request>.TMP",
         {QStringLiteral("ORV_B9")},
         "parameters|area",
         [](HostileInputSimTest& t, const QString& payload) {
             t.home.write("North/Bats/trunk.csv", "1,Local CO 555-0100\r\n");
             FAreacode w;
             w.show();
             w.lists->selectAll();
             w.txtarea->setText(payload);
             w.cmdadd1_Click();
             QStringList typed;
             for (int i = 0; i < w.lstarea->count(); ++i) typed << w.lstarea->item(i)->text();
             return t.runReport(w, "ORV_B9", "AREA", "A ", typed);
         },
         "617"},
        // The site's server folder, a site setting: the folder change of every session.
        {"SiteServerFolder",
         "cd '<folder>'",
         {QStringLiteral("ORV_B1")},
         "folder",
         [](HostileInputSimTest& t, const QString& payload) {
             G().g_SiteHomedir[HardeningSite::kIndex] = payload;
             SimServer::setKnob(QStringLiteral("ORV_B1.no_report"));
             fDetailReport w;
             w.allBoxes[1]->setChecked(true);
             t.prompter.ok().ok().ok();
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
         },
         kSiteFolder},
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
         },
         "HRDLOGIN"},
        // The test call's phone number, echoed into the record file the program reads.
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
         },
         "411"},
        // The test call's extension, a key of the mirror's extension table, echoed into the
        // record file.
        {"TestCallExtensionKey",
         "echo <record>><PC>_HOBIC.TMP",
         {QStringLiteral("ORV_RHOBIC")},
         "extension",
         [](HostileInputSimTest& t, const QString& payload) {
             t.home.write("North/Bats/ext.csv",
                          platform::toCp1252(payload) + ",Hostile\r\n12,Front Desk\r\n");
             t.prompter.ok();  // a line the table split off may be without its name
             fhobiccall w;
             w.show();
             for (int i = 0; i < w.extensions->count(); ++i)
                 if (w.extensions->at(i).key == payload) w.extensions->setCurrentIndex(i);
             w.cbotime->setCurrentText("3");
             w.cbocharge->setCurrentText("1.00");
             w.txtnumber->setText("411");
             return sendTestCall(t, w);
         },
         "13"},
        // A new user's name and password: the name becomes file names in shell lines, the
        // password only its digest in the user file.
        {"NewUserName",
         "ls -1 '<USER>.USE'; echo <digest> > <USER>.USE",
         {},
         "user name",
         [](HostileInputSimTest& t, const QString& payload) {
             return addUser(t, payload, QStringLiteral("secret1"));
         },
         "HRDNEW", {"ACL/USERS/*", "ACL/BUTTONS/*"}},
        {"NewUserPassword",
         "echo <digest> > <USER>.USE",
         {},
         "password",
         [](HostileInputSimTest& t, const QString& payload) {
             return addUser(t, QStringLiteral("HRDPW"), payload);
         },
         "secret1", {"ACL/USERS/*", "ACL/BUTTONS/*"}},
        // A new password of the user's own password window and of the administrator's: only
        // its digest reaches the user file.
        passwordField("OwnNewPassword", true),
        passwordField("AdminNewPassword", false),
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
             // A user name not in upper case is no login's: left out of the list and told.
             if (isValidUserName(stem) && stem != userFileStem(stem)) t.prompter.ok();
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
         },
         "HRDLIST", {"ACL/USERS/*", "ACL/BUTTONS/*"}},
        // A line of a user's button file that the rights editor does not show: saving the
        // user's rights writes it back as it stood, or refuses; nothing else runs.
        {"ButtonFileUnshownLine",
         "echo <line> >> .<USER>.BUT.tmp; mv -f .<USER>.BUT.tmp <USER>.BUT",
         {},
         "functions|shell line cannot hold",
         [](HostileInputSimTest& t, const QString& payload) {
             const QString stem = QStringLiteral("HRDRIGHT");
             const QString userFile = "ACL/USERS/" + stem + ".USE";
             const QString buttonFile = "ACL/BUTTONS/" + stem + ".BUT";
             const QByteArray planted = QByteArray(ButtonFile::kHeader) + "\n04.cmdstats\n99." +
                                        platform::toCp1252(payload) + '\n';
             for (const auto& [name, bytes] :
                  {std::pair{userFile, QByteArray("E52D98C459819A11775936D8DFBB7929\n")},
                   std::pair{buttonFile, planted}}) {
                 QFile f(HardeningSite::file(name));
                 EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
                 f.write(bytes);
             }
             G().g_UserName = QStringLiteral("alice");
             t.prompter.ok().ok().ok();
             Outcome out;
             {
                 frmmodusers w;
                 w.show();
                 const int i = w.cbousers->findText(stem);
                 EXPECT_GE(i, 0);
                 w.cbousers->setCurrentIndex(i);
                 emit w.cbousers->activated(i);
                 if (w.cmdmoduser->isEnabled()) {
                     QTest::mouseClick(w.cmdmoduser, Qt::LeftButton);
                     if (t.prompter.messages().contains(QStringLiteral("USERS SETTINGS MODIFIED"))) {
                         out.stored = HardeningSite::read(buttonFile);
                         // The file is read as lines, a lone CR ending one as LF does.
                         out.expected = QByteArray(planted).replace('\r', '\n');
                     }
                 }
             }
             out.messages = t.prompter.messages();
             QFile::remove(HardeningSite::file(userFile));
             QFile::remove(HardeningSite::file(buttonFile));
             return out;
         },
         "ok", {"ACL/USERS/*", "ACL/BUTTONS/*"}},
        // A user file on the server whose name holds the payload, as the administrator's password
        // window lists it: listed only when it names a user, and then its file alone changed.
        {"PasswordWindowListedUser",
         "echo <digest> > .<USER>.USE.tmp; mv -f .<USER>.USE.tmp <USER>.USE",
         {},
         "",
         [](HostileInputSimTest& t, const QString& payload) {
             const QString users = HardeningSite::file("ACL/USERS");
             const QStringList before = QDir(users).entryList({"*.USE"}, QDir::Files);
             // Named as the program names user files (upper case); no '/'.
             const QString stem =
                 userFileStem(QString(payload).replace(QLatin1Char('/'), QLatin1Char('_')));
             const QString planted = users + "/" + stem + ".USE";
             {
                 QFile f(planted);
                 if (f.open(QIODevice::WriteOnly))
                     f.write(UserFile::digestOf(QStringLiteral("secret1")).toLatin1() + '\n');
             }
             G().g_UserName = QStringLiteral("alice");
             // A file name that begins with '-' is an option to ls: the server writes no list,
             // which is told.
             if (stem.startsWith(QLatin1Char('-'))) t.prompter.ok();
             frmchangepasswd w;
             w.show();
             QStringList listed;
             for (int i = 0; i < w.cbousers->count(); ++i)
                 if (!before.contains(w.cbousers->itemText(i) + ".USE"))
                     listed << w.cbousers->itemText(i);
             Outcome out;
             out.stored = listed.join('\n').toUtf8();
             if (isValidUserName(stem)) out.expected = stem.toUtf8();
             if (listed.size() == 1) {
                 w.cbousers->setCurrentIndex(w.cbousers->findText(listed.first()));
                 w.txtnewpasswd->setText(QStringLiteral("secret2"));
                 w.txtconfirmpasswd->setText(QStringLiteral("secret2"));
                 t.prompter.ok();
                 QTest::mouseClick(w.cmdchgpasswd, Qt::LeftButton);
                 EXPECT_EQ(fileBytes(planted),
                           UserFile::digestOf(QStringLiteral("secret2")).toLatin1() + '\n');
             }
             QFile::remove(planted);
             EXPECT_EQ(QDir(users).entryList({"*.USE"}, QDir::Files), before);
             out.messages = t.prompter.messages();
             return out;
         },
         "HRDLIST",
         {"ACL/USERS/*"}},
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
         },
         "7", {"printjob.rtf"}},
        deleteCallsField("DeleteCallsLineTypeKey", 0, "lt.csv", "1,Administrative"),
        deleteCallsField("DeleteCallsExtensionKey", 1, "ext.csv", "12,Front Desk"),
        deleteCallsField("DeleteCallsDepartmentKey", 2, "dpt.csv", "100,Front Office,3"),
        deleteCallsField("DeleteCallsDivisionKey", 3, "div.csv", "3,Operations"),
        // The site's shell login, the owner and group the print listing is given.
        {"PrintQueueShellLogin",
         "sudo chgrp <login> printjob.rtf; sudo chown <login> printjob.rtf",
         {QStringLiteral("lpq")},
         // A plain name the server does not know is refused at the login.
         "shell login|refused the login",
         [](HostileInputSimTest& t, const QString& payload) {
             G().g_SiteSSHUser[HardeningSite::kIndex] = payload;
             t.prompter.ok();
             frmprintjobs w;
             w.show();
             Outcome out;
             out.messages = t.prompter.messages();
             QStringList owners;
             for (const QString& e : SimServer::entries("SUDO"))
                 if (e.startsWith("chgrp ") || e.startsWith("chown ")) owners << e;
             if (!owners.isEmpty()) {
                 out.stored = platform::toCp1252(owners.join('\n'));
                 out.expected = platform::toCp1252(QStringLiteral("chgrp %1 printjob.rtf\n"
                                                                  "chown %1 printjob.rtf")
                                                       .arg(payload));
             }
             return out;
         },
         "varneltail",
         {"printjob.rtf"}},
        // An archive name of a backup record on the server: listed only when it is an archive
        // name, and then deleted by it alone.
        {"BackupArchiveName",
         "sudo rm -f <archive> <archive>.info",
         {},
         "do not name a backup archive",
         [](HostileInputSimTest& t, const QString& payload) {
             const QString name = plantArchive(payload);
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
             QFile::remove(HardeningSite::file(kArchiveRecord));
             return out;
         },
         "site", {"backup/*"}},
        // The same archive name brought back to this computer: listed only when it is an
        // archive name, and then copied whole into the backups folder under that name alone.
        {"RestoreArchiveName",
         "get <archive>",
         {},
         "do not name a backup archive",
         [](HostileInputSimTest& t, const QString& payload) {
             const QString name = plantArchive(payload);
             const QString local = t.home.file("North/Download/backups");
             QDir(local).removeRecursively();
             QDir().mkpath(local);
             t.prompter.ok();
             fbringbackbackups w;
             w.show();
             Outcome out;
             QStringList ours;
             for (int r = 1; r <= w.MSFlexGrid1->dataRows(); ++r) {
                 const bool mine = w.MSFlexGrid1->cell(r, 1).startsWith("143005_120908_");
                 w.MSFlexGrid1->setTicked(r, mine);
                 if (mine) ours << w.MSFlexGrid1->cell(r, 1);
             }
             if (!ours.isEmpty()) {
                 t.prompter.yes().ok();
                 w.Command1_Click();
                 // What this computer now holds: each file's name and bytes.
                 QByteArray held;
                 for (const QString& f : QDir(local).entryList(QDir::Files | QDir::Hidden))
                     held += platform::toCp1252(f) + '=' + fileBytes(local + "/" + f) + '\n';
                 out.stored = held;
                 out.expected = platform::toCp1252(name) + "=archive\n";
             }
             out.messages = t.prompter.messages();
             QFile::remove(HardeningSite::file(kArchiveRecord));
             return out;
         },
         "site", {"backup/*"}},
    };
}

TEST_P(HostileInputSimTest, EachPayloadIsRefusedByNameOrReachesTheServerAsWritten) {
    const Field& field = GetParam();
    const QString valid =
        QString(field.valid).replace(kSiteFolder, HardeningSite::folder());
    for (const Payload& payload : payloads()) {
        for (const bool afterValid : {false, true}) {
            if (afterValid && valid.isEmpty()) continue;
            SCOPED_TRACE(std::string(afterValid ? "the valid value, then " : "") + payload.name);
            startRun();
            if (HasFatalFailure()) return;
            const QMap<QString, QByteArray> before = siteFiles();
            const Outcome out = field.run(*this, afterValid ? valid + payload.text : payload.text);
            check(field, out, before);
        }
    }
}

std::string caseName(const ::testing::TestParamInfo<Field>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Fields, HostileInputSimTest, ::testing::ValuesIn(fields()), caseName);

}  // namespace
