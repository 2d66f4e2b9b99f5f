#include "changes/ChangeForm.h"

#include "changes/SiteTables.h"
#include "common/CommonFunctions.h"
#include "common/Messages.h"
#include "widgets/NumericTextFilter.h"
#include "widgets/Timers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

namespace {
const QString kRefreshingSystem = QStringLiteral("Refreshing System information. Please wait");
}  // namespace

ChangeForm::ChangeForm(ChangeMember member, const QString& caption, QWidget* parent)
    : QDialog(parent), m_member(std::move(member)), m_exchange(m_member.acceptedAnswer) {
    setWindowTitle(caption);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    m_fields = new QGridLayout;
    layout->addLayout(m_fields);

    auto* buttons = new QHBoxLayout;
    cmdsave = new QPushButton(m_member.saveCaption, this);
    cmdsave->setObjectName(m_member.saveName);
    cmdcancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdcancel->setObjectName(QStringLiteral("cmdcancel"));
    waitpanel = new WaitPanel(this, {m_member.runningText}, WaitPanel::Cancel::Offered);
    lblrunning = waitpanel->label();
    if (!m_member.runningStart.isEmpty()) lblrunning->setText(m_member.runningStart);
    lblrunning->showInRed(m_member.runningInRed);
    tmrreport = waitpanel->dots();
    cmdcancelwait = waitpanel->cancelButton();
    for (QPushButton* b : {cmdsave, cmdcancel}) b->setAutoDefault(false);
    buttons->addWidget(cmdsave);
    buttons->addWidget(cmdcancel);
    buttons->addWidget(waitpanel, 1);
    layout->addLayout(buttons);

    connect(cmdsave, &QPushButton::clicked, this, &ChangeForm::cmdsave_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &ChangeForm::cmdcancel_Click);
    
    tmrcheckdone = makeTimer(this, QStringLiteral("tmrcheckdone"), 1000, TimerShot::Repeating,
                             [this] { tmrcheckdone_Timer(); });
    // The hidden label's dots already run when Save shows it.
    tmrreport->start();
}

ChangeForm::~ChangeForm() = default;

void ChangeForm::addField(const QString& label, QWidget* field) {
    m_tabFields << field;
    const int row = m_fields->rowCount();
    auto* caption = new QLabel(label, this);
    caption->setBuddy(field);
    m_fields->addWidget(caption, row, 0);
    m_fields->addWidget(field, row, 1);
}

void ChangeForm::addHidden(QWidget* control) {
    control->setParent(this);
    control->setVisible(false);
}

void ChangeForm::addSection(QWidget* section) {
    m_tabFields << section;
    m_sections << section;
    m_fields->addWidget(section, m_fields->rowCount(), 0, 1, 2);
}

void ChangeForm::showEvent(QShowEvent* event) {
    if (!m_tabOrderSet) {
        m_tabOrderSet = true;
        // The frame's buttons are made before the form's fields: left alone they would come
        // first in the tab order and Save would take the focus. The fields come first, top to
        // bottom as added (a section's controls in their own order), then the buttons.
        QList<QWidget*> chain;
        for (QWidget* field : std::as_const(m_tabFields)) {
            if (!m_sections.contains(field)) {
                chain << field;
                continue;
            }
            for (QWidget* inner : field->findChildren<QWidget*>())
                if (inner->window() == this && inner->focusPolicy() & Qt::TabFocus &&
                    !inner->focusProxy())
                    chain << inner;
        }
        chain << cmdsave << cmdcancel << cmdcancelwait;
        for (qsizetype i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
        for (QWidget* w : std::as_const(chain)) {
            if (w->isEnabled() && w->isVisibleTo(this) && w->focusPolicy() & Qt::TabFocus) {
                w->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
    QDialog::showEvent(event);
}

void ChangeForm::filterNumbers(QLineEdit* box) {
    connect(box, &QLineEdit::textChanged, box, [this, box] {
        if (!holdsStored(box)) applyNumericTextFilter(box);
    });
}

void ChangeForm::showStored(QLineEdit* box, const QString& text) {
    m_stored.insert(box, text);
    box->setText(text);
}

bool ChangeForm::holdsStored(const QLineEdit* box) const {
    const auto it = m_stored.constFind(box);
    return it != m_stored.constEnd() && box->text() == *it;
}

void ChangeForm::setLocked(bool locked) {
    cmdsave->setEnabled(!locked);
    cmdsave->setVisible(!locked);
    cmdcancel->setEnabled(!locked);
    cmdcancel->setVisible(!locked);
    for (QWidget* w : inputFields()) w->setEnabled(!locked);
    lblrunning->setVisible(locked);
    if (locked) {
        cmdcancelwait->offer([this] { cancelWait(); });
        cmdcancelwait->setEnabled(m_member.cancelWhileSending);
    } else {
        cmdcancelwait->withdraw();
    }
    if (locked) tmrreport->start();
}

void ChangeForm::cmdsave_Click() {
    if (state() != ChangeExchange::State::Idle) return;
    ReentryGuard::Entry entry = m_work.enter();
    if (!entry) return;
    if (const QString problem = firstProblem(); !problem.isEmpty()) {
        tell(problem);
        return;
    }
    if (!confirmSave()) return;

    setLocked(true);
    lstCommands = m_exchange.prepare(records());
    // On before the lines go out, as the system has it; a tick meanwhile does nothing.
    tmrcheckdone->start();
    const ServerFailure sent = m_exchange.send(lstCommands);
    if (sent.ok()) {
        cmdcancelwait->setEnabled(true);
        WriteDebugLog(QStringLiteral("DONE RUNNING REPORT"));
        return;
    }
    tmrcheckdone->stop();
    WriteDebugLog(sent.text);
    if (m_exchange.nothingSent()) {
        // Nothing reached the server: the form is the user's again, to try once more.
        setLocked(false);
        if (sent.code == kSessionCancelled)
            tellCancelledWait(sent.text);
        else
            tell(QStringLiteral("The request was not sent: ") + sent.text,
                 platform::Icon::Exclamation);
        return;
    }
    if (sent.code == kSessionCancelled)
        finishCancelled(sent.text);
    else
        finishNotAccepted(sent.text);
}

void ChangeForm::tmrcheckdone_Timer() {
    // A tick that comes while the request is still being sent waits for the next one.
    if (!m_exchange.requestSent()) return;
    ReentryGuard::Entry entry = m_work.enter();
    if (!entry) return;
    const ChangeExchange::Outcome outcome = m_exchange.poll();
    if (outcome.kind == ChangeExchange::Outcome::Kind::Waiting) return;
    tmrcheckdone->stop();
    finish(outcome);
}

void ChangeForm::finish(const ChangeExchange::Outcome& outcome) {
    using Kind = ChangeExchange::Outcome::Kind;
    WriteDebugLog(QStringLiteral("Answer ") + m_exchange.answerName() + QStringLiteral(": ") +
                  (outcome.kind == Kind::Accepted ? outcome.answer : outcome.message));
    switch (outcome.kind) {
        case Kind::Accepted:
            finishAccepted();
            break;
        case Kind::Cancelled:
            finishCancelled(outcome.message);
            break;
        default:
            finishNotAccepted(outcome.message);
            break;
    }
}

void ChangeForm::finishAccepted() {
    const ServerFailure written = m_exchange.regenerateTables();
    if (written.ok() && !m_member.reloadWord.isEmpty())
        m_exchange.sendReloadLine(m_member.reloadWord);
    m_exchange.close();
    cmdcancelwait->withdraw();
    tell(m_member.successText);
    if (!written.ok())
        tell(QStringLiteral("The server did not rewrite its tables (./do_csv.sh): %1\r\n\r\nThe "
                            "tables shown may not hold the change yet.")
                 .arg(written.text),
             platform::Icon::Exclamation);
    tmrreport->stop();
    if (m_member.pullsTablesAfterAnswer) {
        lblrunning->setBaseText(kRefreshingSystem);
        pullTables();
    }
    closeForm();
}

void ChangeForm::finishNotAccepted(const QString& message) {
    tell(message);
    // The tables are rewritten and pulled whatever the answer; a shell that is gone skips it.
    m_exchange.regenerateTables();
    m_exchange.close();
    cmdcancelwait->withdraw();
    if (m_member.pullsTablesAfterAnswer) pullTables();
    closeForm();
}

void ChangeForm::finishCancelled(const QString& message) {
    m_exchange.close();
    cmdcancelwait->withdraw();
    tellCancelledWait(message);
    closeForm();
}

void ChangeForm::pullTables() {
    const TableMirrorResult pulled = m_exchange.refreshTables();
    if (pulled.ok || m_pullTold) return;
    m_pullTold = true;
    tellFailedPull(pulled);
}

void ChangeForm::cmdcancel_Click() {
    cmdcancel->setVisible(false);
    cmdsave->setVisible(false);
    reject();
}

void ChangeForm::endWait() {
    m_exchange.cancel();
    // A poll that waits returns cancelled and finishes; between polls the wait ends here.
    if (m_work.running()) return;
    ReentryGuard::Entry entry = m_work.enter();
    tmrcheckdone->stop();
    finish(m_exchange.poll());
}

void ChangeForm::cmdcancelwait_Click() {
    // While the request goes out whole the button stays disabled, and so does this call.
    if (cmdcancelwait->isEnabled()) cmdcancelwait->cmdcancelwait_Click();
}

void ChangeForm::cancelWait() {
    if (m_exchange.state() == ChangeExchange::State::Waiting)
        endWait();
    else if (m_exchange.busy())
        m_exchange.cancel();
}

void ChangeForm::closeForm() {
    done(QDialog::Accepted);
}

void ChangeForm::done(int result) {
    if (m_unloaded) return;
    m_unloaded = true;
    tmrcheckdone->stop();
    Form_Unload();
    QDialog::done(result);
}

void ChangeForm::Form_Unload() {
    if (m_member.pullsTablesOnClose) pullTables();
    tmrreport->stop();
    cmdcancel->setVisible(false);
    cmdsave->setVisible(false);
    for (QWidget* w : inputFields()) w->setEnabled(true);
}

}  // namespace quillon
