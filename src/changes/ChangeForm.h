#pragma once
// The frame of every form that changes one server table through a change request (the add and
// modify forms of the organisation tables, the rate modify forms): Save runs the form's checks,
// locks the form and sends the request; a tick a second polls for the answer; after the answer
// the server rewrites its tables, the reload line goes out, the user hears the outcome and the
// table mirror is pulled again; closing pulls it once more (for the members that do) and the
// opener reloads what it shows once the form has closed. A form adds its fields, its checks and
// its records; it copies none of the exchange.
//
// From the first record line until the session is closed the form waits (widgets/WaitGuard.h):
// it takes no input but the long-wait Cancel (cmdcancelwait), which ends the wait through
// ServerShell::cancel(); the user is told the server may still carry out the request.
#include "changes/ChangeExchange.h"
#include "common/ReentryGuard.h"
#include "widgets/LongWaitCancel.h"
#include "widgets/ProgressLabel.h"
#include "widgets/WaitPanel.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QStringList>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace quillon {

// What differs between the forms of the frame.
struct ChangeMember {
    QString acceptedAnswer;  // "1,Record added OK", ...
    QString successText;     // "Div added OK", ...
    QString reloadWord;      // DIV, DPT, EXT, LINE, LD; empty: no reload line
    bool pullsTablesOnClose = true;
    // Whether the long-wait Cancel may end the sending of the request too, or only the wait for
    // its answer (it stays disabled until the request is on the server).
    bool cancelWhileSending = true;
    // A member whose change the table mirror does not show (deleted calls) pulls nothing after
    // the answer either.
    bool pullsTablesAfterAnswer = true;
    // The button that sends the request and the progress text while it waits.
    QString saveName = QStringLiteral("cmdsave");
    QString saveCaption = QStringLiteral("Save");
    QString runningText = QStringLiteral("Saving Data");
    // The label's first caption when it is not the bare progress text.
    QString runningStart;
    bool runningInRed = true;
};

class ChangeForm : public QDialog {
    Q_OBJECT
public:
    ~ChangeForm() override;

    QPushButton* cmdsave = nullptr;
    QPushButton* cmdcancel = nullptr;
    // The progress label, its dots (tmrreport) and the long-wait Cancel, shown while the
    // request is sent and its answer awaited.
    WaitPanel* waitpanel = nullptr;
    ProgressLabel* lblrunning = nullptr;
    LongWaitCancel* cmdcancelwait = nullptr;
    QTimer* tmrcheckdone = nullptr;
    QTimer* tmrreport = nullptr;

    const ChangeMember& member() const { return m_member; }
    ChangeExchange& exchange() { return m_exchange; }
    ChangeExchange::State state() const { return m_exchange.state(); }
    // The lines of the request (what is left of them once sent).
    const QStringList& queuedCommands() const { return lstCommands; }
    // The records Save would send now, checks aside.
    QStringList recordsNow() { return records(); }

    // Event handlers.
    void cmdsave_Click();
    void cmdcancel_Click();
    void cmdcancelwait_Click();
    void tmrcheckdone_Timer();

    // Every way of closing comes here: Form_Unload, once. While the form waits on the server
    // it takes no input, closing included (widgets/WaitGuard.h).
    void done(int result) override;

protected:
    ChangeForm(ChangeMember member, const QString& caption, QWidget* parent);

    // The form's checks in its order: the message of the first that fails, or "" to send.
    virtual QString firstProblem() = 0;
    // The last word before sending, once the checks pass (a question to the user): false ends
    // Save with nothing sent and the form as it was.
    virtual bool confirmSave() { return true; }
    // The request's records, as the file must hold them.
    virtual QStringList records() = 0;
    // The fields Save locks.
    virtual QList<QWidget*> inputFields() const = 0;

    void showEvent(QShowEvent* event) override;

    // What follows the answer, in the frame's order; a member with another order replaces one.
    virtual void finishAccepted();
    virtual void finishNotAccepted(const QString& message);
    virtual void finishCancelled(const QString& message);
    // Form_Unload: the table pull of the members that pull, then the controls as at rest.
    virtual void Form_Unload();

    // A labelled row of the form's fields, top to bottom (the tab order).
    void addField(const QString& label, QWidget* field);
    // A control that holds a value and is never shown (the old values of a modify form).
    void addHidden(QWidget* control);
    // A block of fields of its own layout (a frame), across both columns of the rows.
    void addSection(QWidget* section);
    // A number box: the user's changes pass the number filter; a value the form shows as
    // stored (showStored) stands as it is, as it goes back unchanged in the record.
    void filterNumbers(QLineEdit* box);
    // Shows a stored value in a box.
    void showStored(QLineEdit* box, const QString& text);
    // Whether the box holds exactly the value showStored put there: the user left it as stored,
    // so it goes into the record as it is, without the checks of a new value.
    bool holdsStored(const QLineEdit* box) const;
    // Pulls the table mirror again; a failure is told once per form.
    void pullTables();
    // Closes the form from the frame's own steps.
    void closeForm();

    QStringList lstCommands;

private:
    void finish(const ChangeExchange::Outcome& outcome);
    void setLocked(bool locked);
    // Ends the answer wait for Cancel or a close.
    void endWait();
    // What the long-wait Cancel does: ends the answer wait, or the sending where allowed.
    void cancelWait();

    ChangeMember m_member;
    ChangeExchange m_exchange;
    QGridLayout* m_fields = nullptr;
    QHash<const QLineEdit*, QString> m_stored;
    // The fields and sections as added: the tab order, set when the form is first shown.
    QList<QWidget*> m_tabFields;
    QList<QWidget*> m_sections;
    bool m_tabOrderSet = false;
    ReentryGuard m_work;
    bool m_unloaded = false;
    bool m_pullTold = false;
};

}  // namespace quillon
