#include "utilities/fdeletecalls.h"

#include "changes/ChangeRequest.h"
#include "common/CommonFunctions.h"
#include "common/Messages.h"
#include "common/TextFormats.h"
#include "reports/common/SelectionTable.h"
#include "utilities/DeleteCalls.h"
#include "widgets/ListPair.h"
#include "widgets/NamedControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace quillon {

namespace {
const QString kChangeQuestion =
    QStringLiteral("Are you sure you want to change how you are deleting calls?") + kCrLf;
const QString kNotDeleted = QStringLiteral("Calls not deleted");
constexpr int kExtension = 1;
constexpr int kDaysBack = 90;

}  // namespace

fdeletecalls::fdeletecalls(QWidget* parent)
    : ChangeForm(ChangeMember{.acceptedAnswer = kCallsDeletedOK,
                              .successText = QStringLiteral("Calls deleted"),
                              .reloadWord = QString(),
                              .pullsTablesOnClose = false,
                              .pullsTablesAfterAnswer = false,
                              .saveName = QStringLiteral("Command1"),
                              .saveCaption = QStringLiteral("Delete Calls"),
                              .runningText = QStringLiteral("Deleting Calls"),
                              .runningStart = QStringLiteral("Deleting Calls."),
                              .runningInRed = false},
                 QStringLiteral("Delete Calls"), parent) {
    setObjectName(QStringLiteral("fdeletecalls"));
    Command1 = cmdsave;

    auto* dates = new QGroupBox(QStringLiteral("Date/Time Options"), this);
    auto* dateGrid = new QGridLayout(dates);
    startdate = new QDateEdit(dates);
    startdate->setObjectName(QStringLiteral("startdate"));
    startdate->setDisplayFormat(QStringLiteral("MM-dd-yy"));
    startdate->setCalendarPopup(true);
    starttime = new QTimeEdit(dates);
    starttime->setObjectName(QStringLiteral("starttime"));
    starttime->setDisplayFormat(QStringLiteral("HH:mm"));
    const auto dateLabel = [dates](const QString& text, QWidget* picker) {
        auto* l = new QLabel(text, dates);
        l->setBuddy(picker);
        return l;
    };
    dateGrid->addWidget(dateLabel(QStringLiteral("Before Date"), startdate), 0, 0);
    dateGrid->addWidget(startdate, 0, 1);
    dateGrid->addWidget(dateLabel(QStringLiteral("Before Time"), starttime), 1, 0);
    dateGrid->addWidget(starttime, 1, 1);
    addSection(dates);

    auto* options = new QGroupBox(QStringLiteral("Delete call options "), this);
    auto* optionsLayout = new QVBoxLayout(options);
    auto* kindsGrid = new QGridLayout;
    auto* group = new QButtonGroup(this);
    chkline = namedCheckBox(options, QStringLiteral("chkline"), QStringLiteral("ALL"));
    chkext = namedCheckBox(options, QStringLiteral("chkext"), QStringLiteral("ALL"));
    chkdpt = namedCheckBox(options, QStringLiteral("chkdpt"), QStringLiteral("ALL"));
    chkdiv = namedCheckBox(options, QStringLiteral("chkdiv"), QStringLiteral("ALL"));
    for (int i = 0; i < kDeleteCallsKinds; ++i) {
        const DeleteCallsKind& kind = deleteCallsKinds()[i];
        Optreporttype[i] = new QRadioButton(kind.option, options);
        Optreporttype[i]->setObjectName(QStringLiteral("Optreporttype_%1").arg(i));
        group->addButton(Optreporttype[i], i);
        kindsGrid->addWidget(Optreporttype[i], i, 0);
        kindsGrid->addWidget(allBox(i), i, 1);
        allBox(i)->setVisible(kind.allBoxShown);
        connect(Optreporttype[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Optreporttype_Click(i);
        });
    }
    connect(chkline, &QCheckBox::toggled, this, [this] { chkline_Click(); });
    connect(chkdpt, &QCheckBox::toggled, this, [this] { chkdpt_Click(); });
    connect(chkdiv, &QCheckBox::toggled, this, [this] { chkdiv_Click(); });
    optionsLayout->addLayout(kindsGrid);
    lists = new ListPair(options);
    optionsLayout->addWidget(lists);
    addSection(options);

    m_inputs = {dates, options};
    Form_Load();
}

QCheckBox* fdeletecalls::allBox(int kind) const {
    switch (kind) {
        case 0:
            return chkline;
        case 1:
            return chkext;
        case 2:
            return chkdpt;
        default:
            return chkdiv;
    }
}

void fdeletecalls::Form_Load() {
    starttime->setTime(QTime(0, 1));
    startdate->setDate(QDate::currentDate().addDays(-kDaysBack));
    m_reportType = -1;
    const DeleteCallsKind& ext = deleteCallsKinds()[kExtension];
    lists->setCaptions(ext.addCaption, ext.listCaption);
    Optreporttype[kExtension]->setChecked(true);
    WriteDebugLog(QStringLiteral("Delete Calls"));
}

void fdeletecalls::Optreporttype_Click(int index) {
    if (index == m_reportType) return;
    if (lists->selected().count() > 0) {
        if (!ask(kChangeQuestion, titles::kConfigureSites)) {
            // Back to the kind in force; its own toggle would find nothing to do.
            const QSignalBlocker blocker(Optreporttype[m_reportType]);
            Optreporttype[m_reportType]->setChecked(true);
            return;
        }
        lists->selected().clear();
    }
    m_reportType = index;
    for (int i = 0; i < kDeleteCallsKinds; ++i) allBox(i)->setEnabled(false);
    for (int i = 0; i < kDeleteCallsKinds; ++i) allBox(i)->setChecked(false);
    const DeleteCallsKind& kind = deleteCallsKinds()[index];
    lists->setCaptions(kind.addCaption, kind.listCaption);
    if (kind.allBoxShown) allBox(index)->setEnabled(true);
    const SelectionTable table = loadSiteTable(kind.table, true);
    lists->load(table.entries);
    table.tellProblem();
}

void fdeletecalls::chkline_Click() {
    allBox_Click(0);
}
void fdeletecalls::chkdpt_Click() {
    allBox_Click(2);
}
void fdeletecalls::chkdiv_Click() {
    allBox_Click(3);
}

void fdeletecalls::allBox_Click(int kind) {
    QCheckBox* box = allBox(kind);
    if (!box->isChecked()) {
        lists->unselectAll();
        return;
    }
    if (lists->selected().count() > 0 && !ask(kChangeQuestion, titles::kConfigureSites)) {
        box->setChecked(false);  // its cleared branch gives every entry back
        return;
    }
    lists->selectAll();
}

QString fdeletecalls::firstProblem() {
    if (m_reportType < 0) return kNotDeleted;
    const DeleteCallsKind& kind = deleteCallsKinds()[m_reportType];
    const int items = lists->selected().count();
    const bool all = allBox(m_reportType)->isChecked();
    if (!ask(deleteCallsQuestion(startdate->text(), starttime->text(), kind, items, all),
             titles::kConfigureSites))
        return kNotDeleted;
    // Yes starts the run, whatever the checks below find.
    WriteDebugLog(QStringLiteral("RUNNING REPORT"));
    if (items == 0)
        return QStringLiteral("You Must ") + lists->lblreporttype[0]->text() +
               QStringLiteral(" Calls not deleted");
    // The keys go into the records as they stand: only whole numbers may.
    for (const QString& key : lists->selected().keys())
        if (const QString p = keyProblem(kind.singular + QStringLiteral(" key ") + key, key);
            !p.isEmpty())
            return p + kCrLf + kNotDeleted;
    return {};
}

QStringList fdeletecalls::records() {
    const QStringList keys = lists->selected().keys();
    for (const QString& key : keys)
        WriteDebugLog(QStringLiteral("adding ") + key +
                      QStringLiteral("  from lstItemHidden.Text"));
    return deleteCallsRecords(deleteCallsKinds()[m_reportType].word, keys, startdate->date(),
                              starttime->time());
}

}  // namespace quillon
