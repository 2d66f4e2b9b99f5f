// The test call without a server: the record and its lines, the checks that keep the unquoted
// record to its fields, and the window's send through the fake server.
#include "utilities/TestCall.h"
#include "utilities/fhobiccall.h"

#include "common/Globals.h"
#include "remote/CheckedLines.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "widgets/KeyedPickList.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include <ostream>

using namespace quillon;
using testsupport::FakeSite;

namespace {

const TestCall kCall{"0101", "LOCAL", QDate(2026, 12, 9), QTime(14, 4), "3", "1.00", "411"};

struct RecordCase {
    const char* name;
    TestCall call;
    QString record;
};
void PrintTo(const RecordCase& c, std::ostream* os) {
    *os << c.name;
}

TestCall with(std::function<void(TestCall&)> change) {
    TestCall c = kCall;
    change(c);
    return c;
}

class Record : public ::testing::TestWithParam<RecordCase> {};

TEST_P(Record, HoldsTheSevenFields) {
    EXPECT_EQ(testCallRecord(GetParam().call), GetParam().record);
    EXPECT_EQ(testCallProblem(GetParam().call), "");
}

INSTANTIATE_TEST_SUITE_P(
    TestCall, Record,
    ::testing::Values(RecordCase{"ALocalCall", kCall, "0101,L,120926,1404,3,1.00,411"},
                      RecordCase{"LongDistance",
                                 with([](TestCall& c) { c.typeText = "LONG DISTANCE"; }),
                                 "0101,B,120926,1404,3,1.00,411"},
                      RecordCase{"Interstate",
                                 with([](TestCall& c) { c.typeText = "INTERSTATE"; }),
                                 "0101,A,120926,1404,3,1.00,411"},
                      RecordCase{"ForeignInTheMorning", with([](TestCall& c) {
                                     c.typeText = "FOREIGN";
                                     c.time = QTime(8, 5);
                                 }),
                                 "0101,F,120926,0805,3,1.00,411"},
                      RecordCase{"LocalTypedInLowerCaseHasNoType",
                                 with([](TestCall& c) { c.typeText = "local"; }),
                                 "0101,,120926,1404,3,1.00,411"},
                      RecordCase{"AnEmptyNumber", with([](TestCall& c) {
                                     c.number = "";
                                     c.duration = "10";
                                     c.charge = "0.01";
                                 }),
                                 "0101,L,120926,1404,10,0.01,"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TestCallChecks, KeepCommasBlanksAndExponentsOutOfTheRecord) {
    for (const TestCall& bad :
         {with([](TestCall& c) { c.number = "411,1"; }),
          with([](TestCall& c) { c.number = "4 11"; }), with([](TestCall& c) { c.charge = "1e3"; }),
          with([](TestCall& c) { c.charge = "1.00;ls"; }),
          with([](TestCall& c) { c.duration = "-3"; }), with([](TestCall& c) { c.extension = ""; }),
          with([](TestCall& c) { c.extension = "01>x"; })})
        EXPECT_NE(testCallProblem(bad), "") << testCallRecord(bad).toStdString();
}

TEST(TestCallLines, WriteTheFileAndRunTheProgramOnIt) {
    EXPECT_EQ(testCallLines(kCall, "DESK7_HOBIC.TMP"),
              (QStringList{"echo 0101,L,120926,1404,3,1.00,411>DESK7_HOBIC.TMP",
                           " sudo ./ORV_RHOBIC 0 DESK7_HOBIC.TMP"}));
}

// ---- the window ------------------------------------------------------------------------------

class TestCallWindow : public ::testing::Test {
protected:
    void SetUp() override {
        home.write("North/Bats/ext.csv", "101,Room 101,200,0,0,0,0,\r\n7,Room 7,200,0,0,0,0,\r\n");
    }
    // Shows the window with a call of extension 0007 of that type to 411, 9 December at 08:05.
    static void fillIn(fhobiccall& w, const QString& type) {
        w.show();
        w.extensions->setCurrentIndex(1);
        w.cbotype->setCurrentText(type);
        w.startdate->setDate(QDate(2026, 12, 9));
        w.starttime->setTime(QTime(8, 5));
        w.txtnumber->setText("411");
    }
    testsupport::TempHome home;
    FakeSite site;
    testsupport::FakeServer server;
    testsupport::ScriptedPrompter prompter;
};

TEST_F(TestCallWindow, OpensWithTheExtensionsInFileOrderAndTheFirstEntries) {
    fhobiccall w;
    EXPECT_EQ(w.windowTitle(), "Test Call");
    ASSERT_EQ(w.cboext->count(), 2);
    EXPECT_EQ(w.cboext->itemText(1), "0007 Room 7");
    EXPECT_EQ(w.cboexthidden->itemText(1), "0007");
    EXPECT_EQ(w.cboext->currentIndex(), 0);
    EXPECT_EQ(w.cboexthidden->currentText(), "0101");
    EXPECT_EQ(w.cbotype->currentText(), "LOCAL");
    EXPECT_EQ(w.cbotime->currentText(), "1");
    EXPECT_EQ(w.cbocharge->currentText(), "0.00");
    EXPECT_EQ(w.startdate->date(), QDate::currentDate());
    EXPECT_EQ(w.startdate->displayFormat(), "MM-dd-yy");
}

TEST_F(TestCallWindow, ThePhoneNumberTakesFifteenDigits) {
    fhobiccall w;
    QTest::keyClicks(w.txtnumber, "41x1");
    EXPECT_EQ(w.txtnumber->text(), "411");
    w.txtnumber->setText("1e5");
    EXPECT_EQ(w.txtnumber->text(), "1");
    w.txtnumber->clear();
    QTest::keyClicks(w.txtnumber, "1234567890123456");
    EXPECT_EQ(w.txtnumber->text(), "123456789012345");
}

TEST_F(TestCallWindow, SendsTheRecordInTheSiteFolderAndSaysSo) {
    fhobiccall w;
    fillIn(w, "LONG DISTANCE");
    w.cbotime->setCurrentText("3");
    w.cbocharge->setCurrentText("1.00");
    prompter.ok();
    w.cmdrun_Click();
    EXPECT_EQ(G().g_ParamFileName, "TESTPC_HOBIC.TMP");
    ASSERT_EQ(server.shellRequests().size(), 1u);
    EXPECT_EQ(server.shellRequests()[0].folder, FakeSite::folder());
    EXPECT_EQ(server.linesOf(0),
              (QStringList{"cd '/usr/varnel'",
                           withExitStatus("echo 0007,B,120926,0805,3,1.00,411>TESTPC_HOBIC.TMP"),
                           withExitStatus(" sudo ./ORV_RHOBIC 0 TESTPC_HOBIC.TMP")}));
    EXPECT_FALSE(server.isShellOpen(0));
    EXPECT_EQ(prompter.messages(), QStringList{"The test call was sent."});
    EXPECT_FALSE(w.isVisible());
}

// Reports on a restored backup change nothing here: the call goes to the live site folder.
TEST_F(TestCallWindow, InBackupReportsModeTheCallStillGoesToTheSiteFolder) {
    G().g_BackupReportsMode = true;
    fhobiccall w;
    fillIn(w, "INTERSTATE");
    prompter.ok();
    w.cmdrun_Click();
    ASSERT_EQ(server.shellRequests().size(), 1u);
    EXPECT_EQ(server.shellRequests()[0].folder, FakeSite::folder());
    EXPECT_EQ(server.linesOf(0).value(0), "cd '/usr/varnel'");
    EXPECT_EQ(server.linesOf(0).value(1),
              withExitStatus("echo 0007,A,120926,0805,1,0.00,411>TESTPC_HOBIC.TMP"));
}

TEST_F(TestCallWindow, AFailureIsToldAndTheWindowStays) {
    fhobiccall w;
    w.show();
    server.on(" sudo ./ORV_RHOBIC 0 TESTPC_HOBIC.TMP")
        .reply("ORV_RHOBIC: no such file\n")
        .status(1);
    prompter.ok();
    w.cmdrun_Click();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith("The test call was not sent: "));
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.cmdrun->isEnabled());
}

// Once the program's line went out without a status back, the call may be on the server: a
// second Send Call would charge it twice. Failures before it, or the program's own failure,
// leave nothing sent.
struct SendFault {
    const char* name;
    std::function<void(testsupport::FakeServer&)> arrange;
    bool maybeSent;
};

class SendFaults : public TestCallWindow, public ::testing::WithParamInterface<SendFault> {};

TEST_P(SendFaults, SayWhetherTheCallMayHaveBeenSent) {
    fhobiccall w;
    w.show();
    GetParam().arrange(server);
    prompter.ok();
    w.cmdrun_Click();
    ASSERT_EQ(prompter.messages().size(), 1);
    const QString told = prompter.messages()[0];
    if (GetParam().maybeSent) {
        EXPECT_TRUE(told.startsWith("The test call may have been sent: ")) << told.toStdString();
        EXPECT_TRUE(told.endsWith("\r\nCheck the server's calls before you send it again."));
    } else {
        EXPECT_TRUE(told.startsWith("The test call was not sent: ")) << told.toStdString();
    }
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.cmdrun->isEnabled());
}

using testsupport::FakeServer;
const QString kProgramLine = " sudo ./ORV_RHOBIC 0 TESTPC_HOBIC.TMP";
INSTANTIATE_TEST_SUITE_P(
    Window, SendFaults,
    ::testing::Values(
        SendFault{"NoSession",
                  [](FakeServer& s) { s.failOpen(kSessionUnreachable, "Connection refused"); },
                  false},
        SendFault{"TheRecordTimesOut",
                  [](FakeServer& s) { s.on(QRegularExpression("^echo ")).timesOut(); }, false},
        SendFault{"TheRecordLosesTheSession",
                  [](FakeServer& s) { s.on(QRegularExpression("^echo ")).dropsSession(); }, false},
        SendFault{
            "TheProgramFails",
            [](FakeServer& s) { s.on(kProgramLine).reply("ORV_RHOBIC: no such file\n").status(1); },
            false},
        SendFault{"TheProgramTimesOut", [](FakeServer& s) { s.on(kProgramLine).timesOut(); }, true},
        SendFault{"TheProgramLosesTheSession",
                  [](FakeServer& s) { s.on(kProgramLine).dropsSession(); }, true},
        SendFault{"TheProgramsStatusNeverComes",
                  [](FakeServer& s) { s.on(kProgramLine).withoutStatus(); }, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TestCallWindow, ASiteWithoutAServerFolderSendsNothing) {
    G().g_SiteHomedir[FakeSite::kIndex] = "";
    fhobiccall w;
    prompter.ok();
    w.cmdrun_Click();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith("The test call was not sent: "));
    EXPECT_TRUE(prompter.messages()[0].contains("No server folder is configured for this site."));
    EXPECT_TRUE(server.lines().isEmpty());
}

TEST_F(TestCallWindow, ASecondClickWhileSendingIsRefused) {
    fhobiccall w;
    w.show();
    server.on(QRegularExpression("^echo ")).then([&w](const QString&) {
        EXPECT_FALSE(w.cmdrun->isEnabled());
        w.cmdrun_Click();
        w.close();
    });
    prompter.ok();
    w.cmdrun_Click();
    EXPECT_EQ(server.shellRequests().size(), 1u);
    EXPECT_EQ(server.lines().size(), 3);  // cd, echo, the program
    EXPECT_EQ(prompter.messages(), QStringList{"The test call was sent."});
}

TEST_F(TestCallWindow, AnEmptyExtensionTableRefusesToSend) {
    home.write("North/Bats/ext.csv", "");
    fhobiccall w;
    EXPECT_EQ(w.cboext->count(), 0);
    prompter.ok();
    w.cmdrun_Click();
    EXPECT_TRUE(prompter.messages().last().startsWith("There is no extension"));
    EXPECT_TRUE(server.shellRequests().empty());
}

}  // namespace
