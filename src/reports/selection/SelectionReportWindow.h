#pragma once
// The selection report window: the report type, the available and selected lists (each with
// its hidden twin of keys), the ALL boxes, the report options and the date part. The detail,
// cost, unused-station and account-code windows are this window with their own setup.
#include "reports/common/ReportWindow.h"
#include "widgets/ListPair.h"

#include <QHash>
#include <QList>
#include <QTime>

#include <array>

class QCheckBox;
class QGridLayout;
class QListWidget;

namespace quillon {

// One report type: the option's caption, the table it lists, the list captions and the item
// code of the request. A type with an empty table is not offered (its option stays hidden).
struct ReportTypeRow {
    QString caption;
    QString table;
    QString addCaption;
    QString selectedCaption;
    QString code;
};

struct SelectionWindowSetup {
    QString caption;
    ReportKind kind;
    QString intervalMessage;
    std::array<ReportTypeRow, 4> types;
    int firstType = 1;
    // The list captions set before the first type is chosen.
    QString firstAddCaption = QStringLiteral("Add Line Type");
    QString firstSelectedCaption = QStringLiteral("Selected Line Types");
    // Option letters the window has, in the order of the request (see reportOptions()).
    QStringList options;
    QHash<QString, QString> optionCaptions;  // captions that differ from the usual ones
    QString optionsFrameCaption = QStringLiteral(" Report Options");
    bool optionBoxesShown = true;
    bool chksendprinterTip = true;
    QStringList tickedAtLoad;
    QTime endTime{23, 59};
    bool allCallsOffered = true;
    // Keys as the list shows them ("000#") or as the table holds them.
    bool formattedKeys = true;
    // The extension ALL box puts the single entry "ALL EXT" (key 0) into the selection.
    bool allExtEntry = false;
    // "Do Not Post Calls" switches the date part on and off.
    bool postCallsGatesDates = false;
    bool timerRunsFromOpening = false;
    QString loadLog;
    QString runCommandLog;
    QString beforeGuardLog;
    QString handOverLog;
};

// An option of the request: its letter, its check box, and whether the letter is written when
// the box is ticked (or when it is not).
struct ReportOption {
    QString letter;
    QString name;
    QString caption;
    bool writtenWhenTicked;
    QString toolTip;
};
// All options in the order of the request file.
const QList<ReportOption>& reportOptions();

class SelectionReportWindow : public ReportWindow, public ListPairControls {
    Q_OBJECT
public:
    ~SelectionReportWindow() override;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 4> Optreporttype{};
    // The ALL boxes beside the types: chkline, chkext, chkdpt, chkdiv.
    std::array<QCheckBox*, 4> allBoxes{};
    // The option check box of that name (chkpostcalls ...); nullptr when the window has none.
    QCheckBox* optionBox(const QString& name) const;

    int reportType = -1;

    // Public operations and event handlers.
    void Optreporttype_Click(int index);
    void resetitemlist();
    void chkpostcalls_Click();

protected:
    SelectionReportWindow(SelectionWindowSetup setup, QWidget* parent);

    // Loads the window as its setup says; the concrete window calls it once its own controls
    // exist.
    void Form_Load();
    // The extra line after the date part (the account-code window's N line); empty for none.
    virtual QString lineAfterDatePart() const { return {}; }
    // Where a concrete window adds its own controls to the breakdown frame.
    QGridLayout* breakdownLayout() const { return m_breakdown; }

    void queueRequest(ReportRequest& request) override;
    std::optional<QString> refusal(const ReportRequest& request) override;
    void logRunCommandPrepared() override;
    void logBeforeGuard() override;
    void logBeforeHandOver() override;

private:
    void allBox_Click(int type);

    SelectionWindowSetup m_setup;
    QHash<QString, QCheckBox*> m_options;
    QGridLayout* m_breakdown = nullptr;
};

}  // namespace quillon
