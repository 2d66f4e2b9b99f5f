#pragma once
// What every report request window has: the date and time choices, the printer box, the Run
// button with its progress label, the command queue and the run itself (the window's checks,
// the request, the program line, the run on the server, then by default closing and handing
// the report over to the main window's report retrieval). A window adds its own controls and
// says what its request holds; it copies none of the run.
#include "common/ReentryGuard.h"
#include "reports/common/ReportRequest.h"
#include "common/ReentryGuard.h"
#include "widgets/ProgressLabel.h"
#include "widgets/WaitPanel.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <array>
#include <optional>

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;
class QTimer;

namespace quillon {

class ListPair;
class SelectionList;

// What the date frame offers besides "Date Range" and "Interval".
struct DateBlock {
    bool allCalls = true;  // "All Calls In the System"
    bool times = true;     // the start and end time pickers (and the TS and TE lines)
};

class ReportWindow : public QDialog {
    Q_OBJECT
public:
    ~ReportWindow() override;

    // Date choices: 0 "All Calls In the System", 1 "Date Range", 2 "Interval".
    std::array<QRadioButton*, 3> Optdate{};
    QDateEdit* startdate = nullptr;
    QDateEdit* enddate = nullptr;
    QTimeEdit* starttime = nullptr;
    QTimeEdit* endtime = nullptr;
    QLineEdit* txtinterval = nullptr;
    QGroupBox* Frame3 = nullptr;
    // "Send to Printer on Varnel Computer": unticked, the request asks for no printing (Z).
    QCheckBox* chksendprinter = nullptr;
    QPushButton* Command1 = nullptr;
    // The progress label, its dots timer and the Cancel that ends the run (made by buildRunBox).
    WaitPanel* waitpanel = nullptr;
    ProgressLabel* lblrunning = nullptr;
    LongWaitCancel* cmdcancelwait = nullptr;
    QTimer* tmrreport = nullptr;

    const ReportKind& kind() const { return m_kind; }
    // The request the window's choices make now, without the program line; empty when the
    // choices cannot be sent (the window's message has been shown).
    ReportRequest buildRequest();
    // The line that runs the report program on the request.
    QString programLine(const ReportRequest& request) const;

    // The command queue of the last run, in the order of sending (what is left of it).
    const QStringList& queuedCommands() const { return lstCommands; }

    // Event handlers.
    void Command1_Click();
    void Optdate_Click(int index);
    void txtinterval_Change();


protected:
    explicit ReportWindow(const ReportKind& kind, QString intervalMessage, QWidget* parent);

    // The window's own checks before anything else of the run (the Run button stays): the
    // messages to show, in order; none lets the run go on.
    virtual QStringList checksBeforeRun() { return {}; }
    // The window's part of the request: header, options, items and date part. A window that
    // finds the request cannot be sent empties it (the guard then refuses the run).
    virtual void queueRequest(ReportRequest& request) = 0;
    // Why the run may not go on: nullopt lets it go on; otherwise the message to show once the
    // Run button is back (an empty text shows nothing).
    virtual std::optional<QString> refusal(const ReportRequest& request) = 0;
    // The report program's mode, its first argument: the kind's, unless the window's choices
    // make it (the audit code).
    virtual QString programMode() const { return m_kind.mode; }
    // What follows a run that left its report on the server: the window closes and hands the
    // report number to report retrieval. A window that fetches its answer itself replaces it.
    virtual void finishRun();
    // Debug log lines some windows write at fixed steps of the run. The first and the last
    // line of a run; the last only for a run that went through.
    virtual void logRunStarted();
    virtual void logRunDone();
    virtual void logRunCommandPrepared() {}
    virtual void logBeforeGuard() {}
    virtual void logBeforeHandOver() {}

    // Queues the date part by the chosen date option. False (and the request emptied) when the
    // interval is not a number; the window's interval message has been shown.
    bool queueDatePart(ReportRequest& request);
    // The date frame. Choices and pickers it does not offer exist, hidden; the interval box
    // takes numbers only.
    QGroupBox* buildDateFrame(const DateBlock& block = DateBlock());
    // The printer box, with or without its tool tip.
    QCheckBox* buildPrinterBox(QWidget* parent, bool withToolTip = true);
    // The Z line, unless the printer box is ticked.
    void queuePrinterLine(ReportRequest& request) const;
    // One item line (code, blank, key) per entry of the selection, in the order of its keys,
    // each highlighted while it is queued.
    void queueSelectedItems(ReportRequest& request, SelectionList& selected,
                            const QString& code) const;
    // The guard's message for a request the window's choices emptied: "Bad paramters passed".
    static QString badParametersText();
    // The guard of a window whose request needs chosen entries of its list pair: with none
    // chosen "You Must " and the caption over the available list, then an emptied request.
    static std::optional<QString> listRefusal(const ReportRequest& request, ListPair& lists);
    // Asked before a change of the report's breakdown throws the chosen entries away.
    static bool confirmBreakdownChange();
    // Whether the breakdown may change now: with entries chosen, only once the user agrees,
    // and then the choice is emptied; refused, `current` (the option in force, or nullptr
    // before the first) is checked again.
    static bool takeBreakdownChange(ListPair& lists, QRadioButton* current);
    // The Run button, and under it the progress label with the long-wait Cancel beside it.
    QWidget* buildRunBox();
    // Sets the dates to today and the times as given.
    void setDefaultDateTimes(const QTime& start, const QTime& end);
    // Buttons never take Enter as the dialog's default: Enter belongs to the lists and boxes.
    void noDefaultButtons();

    // Run button hidden and the label running, or the other way round: a window that goes on
    // after the run (finishRun) gives the button back when its part fails.
    void setBusy(bool busy);

    QStringList lstCommands;
    int m_dateChoice = -1;

private:
    ReportKind m_kind;
    QString m_intervalMessage;
    DateBlock m_dateBlock;
    ReentryGuard m_running;
};

}  // namespace quillon
