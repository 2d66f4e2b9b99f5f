// Every field whose value reaches a shell line on the server, crossed with text a shell would act
// on, against the stand-in server. For each pair: no canary file appears and no server program
// runs that the field's own line does not run, and the field is either refused with a message
// that names it or reaches the server exactly as the system writes it.
//
// A field is one row of fields() below: how the payload gets into it (a typed box, a site
// setting, a table of the mirror), what runs it and what the server then holds.
#include "support/ProgramWindows.h"

#include "HardeningSite.h"
#include "access/frmLogin.h"
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
#include "widgets/AppControl.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
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
            f.cmdwaitcancel_Click();
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
            "echo '<record>' > <request>.todo",
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
        EXPECT_EQ(*out.stored, out.expected) << field.line;
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
