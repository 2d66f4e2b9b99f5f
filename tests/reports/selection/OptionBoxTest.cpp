// Each option box of the detail, cost and account-code windows ticked alone, every other one
// unticked: the option lines the run sends, so a box that wrote another box's letter (or none)
// shows as the line that appears or drops in its row.
#include "reports/selection/fAuth.h"
#include "reports/selection/fDetailReport.h"
#include "reports/selection/fcost.h"

#include "SelectionTestSupport.h"
#include "common/Globals.h"
#include "support/Controls.h"
#include "support/FakeServer.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QRegularExpression>

#include <memory>
#include <ostream>

using namespace quillon;
using testsupport::control;

namespace {

const QStringList kDetailBoxes{"chkpostcalls",  "chklivecalls",       "chksendprinter", "chk800peg",
                               "chk900peg",     "chkincomingpeg",     "chkpagebreak",   "chkallpeg",
                               "chkcompactver", "chklongdistancepeg", "chklocalpeg"};
const QStringList kCostBoxes{"chksendprinter", "chkcompactver"};
QStringList authBoxes() {
    QStringList boxes = kDetailBoxes;
    boxes.removeAll("chklivecalls");
    return boxes;
}

struct OptionCase {
    const char* window;
    const char* ticked;   // the one box ticked; "" for none
    const char* letters;  // the option lines sent, in order
};
void PrintTo(const OptionCase& c, std::ostream* os) {
    *os << c.window << "_" << (*c.ticked ? c.ticked : "none");
}

class OptionBoxTest : public ::testing::TestWithParam<OptionCase> {
protected:
    void SetUp() override {
        selectiontest::writeTables(home);
        testsupport::configureFakeSite(1);
        G().g_CurSite = 1;
        server.on(QRegularExpression("^test -f ")).reply("REPORT_READY\n");
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    selectiontest::FakeHost host;
    testsupport::FakeServer server;
};

TEST_P(OptionBoxTest, SendsTheLettersOfTheBoxTickedAlone) {
    const OptionCase& c = GetParam();
    const QString window = QLatin1String(c.window);
    std::unique_ptr<SelectionReportWindow> w;
    QStringList boxes;
    QString item;
    if (window == "Detail") {
        w = std::make_unique<fDetailReport>();
        boxes = kDetailBoxes;
        item = "0012 Front Desk";
    } else if (window == "Cost") {
        w = std::make_unique<fcost>();
        boxes = kCostBoxes;
        item = "0001 Rooms";
    } else {
        w = std::make_unique<fAuth>();
        boxes = authBoxes();
        item = "0007 Legal";
    }
    for (const QString& name : boxes) {
        QCheckBox* box = control<QCheckBox>(w.get(), name);
        box->setChecked(false);
    }
    if (*c.ticked) control<QCheckBox>(w.get(), c.ticked)->setChecked(true);
    selectiontest::selectShown(*w, {item});
    w->Command1_Click();

    ASSERT_EQ(host.handOvers.size(), 1) << prompter.messages().join('|').toStdString();
    // An option line: "echo", two blanks and one letter code, as sent checked.
    static const QRegularExpression option(
        QStringLiteral("^echo  '([A-Z][A-Z0-9]?)' >>TESTPC_[A-Z]+\\.TMP; echo \"rc=\\$\\?\"$"));
    QStringList letters;
    for (const QString& line : server.lines())
        if (const auto m = option.match(line); m.hasMatch()) letters << m.captured(1);
    EXPECT_EQ(letters.join(' '), QLatin1String(c.letters));
}

INSTANTIATE_TEST_SUITE_P(
    Windows, OptionBoxTest,
    ::testing::Values(
        // Z and V stand for boxes left unticked; the others for boxes ticked.
        OptionCase{"Detail", "", "Z V"}, OptionCase{"Detail", "chkpostcalls", "O Z V"},
        OptionCase{"Detail", "chklivecalls", "A Z V"}, OptionCase{"Detail", "chksendprinter", "V"},
        OptionCase{"Detail", "chk800peg", "Z G8 V"}, OptionCase{"Detail", "chk900peg", "Z G9 V"},
        OptionCase{"Detail", "chkincomingpeg", "Z GI V"},
        OptionCase{"Detail", "chkpagebreak", "Z K V"}, OptionCase{"Detail", "chkallpeg", "Z GA V"},
        OptionCase{"Detail", "chkcompactver", "Z"},
        OptionCase{"Detail", "chklongdistancepeg", "Z V GL"},
        OptionCase{"Detail", "chklocalpeg", "Z V GC"}, OptionCase{"Cost", "", "Z V"},
        OptionCase{"Cost", "chksendprinter", "V"}, OptionCase{"Cost", "chkcompactver", "Z"},
        OptionCase{"Auth", "", "Z V"}, OptionCase{"Auth", "chkpostcalls", "O Z V"},
        OptionCase{"Auth", "chksendprinter", "V"}, OptionCase{"Auth", "chk800peg", "Z G8 V"},
        OptionCase{"Auth", "chk900peg", "Z G9 V"}, OptionCase{"Auth", "chkincomingpeg", "Z GI V"},
        OptionCase{"Auth", "chkpagebreak", "Z K V"}, OptionCase{"Auth", "chkallpeg", "Z GA V"},
        OptionCase{"Auth", "chkcompactver", "Z"},
        OptionCase{"Auth", "chklongdistancepeg", "Z V GL"},
        OptionCase{"Auth", "chklocalpeg", "Z V GC"}),
    [](const auto& info) {
        return std::string(info.param.window) + "_" +
               (*info.param.ticked ? info.param.ticked : "none");
    });

}  // namespace
