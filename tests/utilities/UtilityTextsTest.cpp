// What the utility windows say, text by text: the delete-calls window in each kind of item, the
// print queue, the test call with its hints, and the words and dots of each progress label
// while the server is slow.
#include "utilities/fdeletecalls.h"
#include "utilities/fhobiccall.h"
#include "utilities/frmprintjobs.h"

#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "support/WindowTexts.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>

#include <functional>
#include <map>
#include <memory>
#include <string>

using namespace quillon;
using testsupport::FakeSite;
using testsupport::Shown;
using testsupport::TextRow;

namespace {

// The delete-calls window with the kind of item of that option chosen.
std::unique_ptr<QWidget> deleteCallsOf(const char* option) {
    auto w = std::make_unique<fdeletecalls>();
    testsupport::control<QRadioButton>(w.get(), option)->setChecked(true);
    return w;
}

const testsupport::WindowMakers& makers() {
    static const testsupport::WindowMakers m{
        {"fdeletecalls", [] { return std::make_unique<fdeletecalls>(); }},
        {"fdeletecalls Line Type", [] { return deleteCallsOf("Optreporttype_0"); }},
        {"fdeletecalls Department", [] { return deleteCallsOf("Optreporttype_2"); }},
        {"fdeletecalls Division", [] { return deleteCallsOf("Optreporttype_3"); }},
        {"fdeletecalls Extension again",
         [] {
             auto w = deleteCallsOf("Optreporttype_3");
             testsupport::control<QRadioButton>(w.get(), "Optreporttype_1")->setChecked(true);
             return w;
         }},
        {"frmprintjobs", [] { return std::make_unique<frmprintjobs>(); }},
        {"fhobiccall", [] { return std::make_unique<fhobiccall>(); }},
    };
    return m;
}

class UtilityWindows : public ::testing::Test {
protected:
    UtilityWindows() {
        home.write("North/Bats/lt.csv", "1,Administrative\r\n");
        home.write("North/Bats/ext.csv", "101,Lobby,100,0,0,0,0,\r\n");
        home.write("North/Bats/dpt.csv", "100,Front Office,3\r\n");
        home.write("North/Bats/div.csv", "3,Operations,\r\n");
        server.addFile("printjob.rtf",
                       "Rank    Owner   Job     File(s)                         Total Size\n"
                       "active  root    345     summary.rep                     2048 bytes\n");
    }

    testsupport::TempHome home;
    FakeSite site;
    testsupport::FakeServer server;
    testsupport::ScriptedPrompter prompter;
};

class UtilityTexts : public UtilityWindows, public ::testing::WithParamInterface<TextRow> {};

TEST_P(UtilityTexts, StandAsTheUserMustSeeThem) {
    testsupport::expectShownText(makers(), GetParam());
}

// The caption over the available (side 0) or the selected (side 1) list.
TextRow listCaption(const char* window, int side, const char* text) {
    return {window, side ? "lblreporttype_1" : "lblreporttype_0", Shown::Text, 0, text};
}
TextRow testCallHint(const char* control, const char* text) {
    return {"fhobiccall", control, Shown::Hint, 0, text};
}
TextRow testCallLabel(const char* control, const char* text) {
    return {"fhobiccall", control, Shown::Label, 0, text};
}

INSTANTIATE_TEST_SUITE_P(
    Windows, UtilityTexts,
    ::testing::Values(
        // Delete calls: the window as it opens, then each kind of item.
        TextRow{"fdeletecalls", "", Shown::Caption, 0, "Delete Calls"},
        TextRow{"fdeletecalls", "startdate", Shown::Frame, 0, "Date/Time Options"},
        TextRow{"fdeletecalls", "startdate", Shown::Label, 0, "Before Date"},
        TextRow{"fdeletecalls", "starttime", Shown::Label, 0, "Before Time"},
        TextRow{"fdeletecalls", "Optreporttype_0", Shown::Frame, 0, "Delete call options "},
        TextRow{"fdeletecalls", "lstDivision", Shown::Frame, 0, "Delete call options "},
        TextRow{"fdeletecalls", "Optreporttype_0", Shown::Text, 0, "Line Type"},
        TextRow{"fdeletecalls", "Optreporttype_1", Shown::Text, 0, "Extension"},
        TextRow{"fdeletecalls", "Optreporttype_2", Shown::Text, 0, "Department"},
        TextRow{"fdeletecalls", "Optreporttype_3", Shown::Text, 0, "Division"},
        TextRow{"fdeletecalls", "chkline", Shown::Text, 0, "ALL"},
        TextRow{"fdeletecalls", "chkdpt", Shown::Text, 0, "ALL"},
        TextRow{"fdeletecalls", "chkdiv", Shown::Text, 0, "ALL"},
        TextRow{"fdeletecalls", "cmdadd", Shown::Text, 0, ">>"},
        TextRow{"fdeletecalls", "cmdremove", Shown::Text, 0, "<<"},
        TextRow{"fdeletecalls", "Command1", Shown::Text, 0, "Delete Calls"},
        listCaption("fdeletecalls", 0, "Add Extension"),
        listCaption("fdeletecalls", 1, "Selected Extension"),
        listCaption("fdeletecalls Line Type", 0, "Add Line Type"),
        listCaption("fdeletecalls Line Type", 1, "Selected Line Types"),
        listCaption("fdeletecalls Department", 0, "Add Department"),
        listCaption("fdeletecalls Department", 1, "Selected Department"),
        listCaption("fdeletecalls Division", 0, "Add Division"),
        listCaption("fdeletecalls Division", 1, "Selected Division"),
        listCaption("fdeletecalls Extension again", 0, "Add Extension"),
        listCaption("fdeletecalls Extension again", 1, "Selected Extension"),
        // The print queue: a header pair over each list.
        TextRow{"frmprintjobs", "", Shown::Caption, 0, "Remove print Jobs"},
        TextRow{"frmprintjobs", "lstDivision", Shown::Frame, 0,
                "Delete Print Jobs on the Call Accounting Computer"},
        TextRow{"frmprintjobs", "lblreporttype_0", Shown::Text, 0, "ID #"},
        TextRow{"frmprintjobs", "lblreporttype_1", Shown::Text, 0, "ID #"},
        TextRow{"frmprintjobs", "lblreporttype_2", Shown::Text, 0, "Name of Print Job"},
        TextRow{"frmprintjobs", "lblreporttype_3", Shown::Text, 0, "Name of Print Job"},
        TextRow{"frmprintjobs", "cmdadd", Shown::Text, 0, ">>"},
        TextRow{"frmprintjobs", "cmdremove", Shown::Text, 0, "<<"},
        TextRow{"frmprintjobs", "chkrmall", Shown::Text, 0, "Remove all print jobs"},
        TextRow{"frmprintjobs", "Command1", Shown::Text, 0, "Delete Print Jobs"},
        // The test call.
        TextRow{"fhobiccall", "", Shown::Caption, 0, "Test Call"},
        testCallLabel("cboext", "Extension Number "), testCallLabel("cbotype", "CALL TYPE"),
        testCallLabel("startdate", "Call Date"), testCallLabel("starttime", "Call Time"),
        testCallLabel("cbotime", "DURATION ( minutes )"), testCallLabel("cbocharge", "CALL CHARGE"),
        testCallLabel("txtnumber", "Phone Number"),
        testCallHint("cboext", "Choose a Guest Room Extension "),
        testCallHint(
            "cbotype",
            "VALID CALL TYPES ARE :  A = INTERSTATE    B = LONG DISTANCE IN STATE   L = LOCAL  F "
            "= FOREIGN"),
        testCallHint("cbotime", "Choose how long you want the call to be"),
        testCallHint("cbocharge", "Choose how much you want the test call to cost"),
        testCallHint("txtnumber", "Enter phone number here no dash "),
        TextRow{"fhobiccall", "cbotype", Shown::Items, 0, "LOCAL|LONG DISTANCE|INTERSTATE|FOREIGN"},
        TextRow{"fhobiccall", "cbotime", Shown::Items, 0, "1|2|3|4|5|6|7|8|9|10"},
        TextRow{"fhobiccall", "cbocharge", Shown::Items, 0, "0.00|0.01|1.00|2.00|3.00|4.00|5.00"},
        TextRow{"fhobiccall", "cmdrun", Shown::Text, 0, "Send Call"}),
    testsupport::rowName);

// The call type's hint stands on its label as on its box.
TEST_F(UtilityWindows, TheCallTypeLabelCarriesTheBoxesHint) {
    fhobiccall w;
    auto* box = testsupport::control<QWidget>(&w, "cbotype");
    ASSERT_NE(box, nullptr);
    QLabel* label = nullptr;
    for (QLabel* l : w.findChildren<QLabel*>())
        if (l->buddy() == box) label = l;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->toolTip(), box->toolTip());
}

// Each window's progress while the server holds the first line of its work.
struct ProgressCase {
    const char* window;
    const char* first;
    const char* longest;
    const char* held;
    const char* list;  // the list whose first entry is chosen before the run
};
void PrintTo(const ProgressCase& c, std::ostream* os) {
    *os << c.window;
}

class UtilityProgress : public UtilityWindows,
                        public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(UtilityProgress, RunsToItsLongestTextAndStartsAgain) {
    const ProgressCase& c = GetParam();
    const auto window = makers().at(c.window)();
    window->show();
    QStringList round;
    testsupport::lookWhileHeld(server, QRegularExpression(c.held), [&] {
        round = testsupport::progressRound(window.get(), "lblrunning", c.longest);
    });
    auto* list = testsupport::control<QListWidget>(window.get(), c.list);
    ASSERT_NE(list, nullptr);
    list->setCurrentRow(0);
    testsupport::control<QAbstractButton>(window.get(), "cmdadd")->click();
    prompter.allowUnusedAnswers().yes().ok().ok();
    testsupport::control<QAbstractButton>(window.get(), "Command1")->click();
    EXPECT_EQ(round.join('|').toStdString(),
              testsupport::dotsFrom(c.first, c.longest).join('|').toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Windows, UtilityProgress,
    ::testing::Values(ProgressCase{"fdeletecalls", "Deleting Calls.", "Deleting Calls..........",
                                   "^echo ", "lstDivision"},
                      ProgressCase{"frmprintjobs", "Deleting Print Jobs.",
                                   "Deleting Print Jobs..........", "^sudo lprm ", "lstDivision"}),
    [](const auto& info) { return std::string(info.param.window); });

}  // namespace
