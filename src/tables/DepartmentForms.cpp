#include "tables/DepartmentForms.h"

#include "changes/ChangeRequest.h"
#include "widgets/KeyedPickList.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

namespace quillon {

namespace {
const QString kNumber = QStringLiteral("Department Number");
const QString kName = QStringLiteral("Department Name");
const QString kDivision = QStringLiteral("Division Number");

// Both forms, in this order.
QString emptyFieldProblem(const QLineEdit* name, const QLineEdit* number,
                          const KeyedPickList* division) {
    if (name->text().isEmpty()) return QStringLiteral("You must enter a Department name");
    if (number->text().isEmpty()) return QStringLiteral("You must enter a Department number");
    if (division->currentIndex() < 0) return QStringLiteral("You must Choose a Division");
    return {};
}
}  // namespace

fAddDpt::fAddDpt(QWidget* parent)
    : OrgForm({kRecordAddedOK, QStringLiteral("DPT added OK"), QStringLiteral("DPT")},
              QStringLiteral("Add Department"), parent) {
    setObjectName(QStringLiteral("fAddDpt"));
    txtdptnumber = keyBox(QStringLiteral("txtdptnumber"), kNumber, true);
    txtdptname = nameBox(QStringLiteral("txtdptname"), kName);
    divisions = pickList(QStringLiteral("cboDivision"), QStringLiteral("cboDivisionhidden"),
                         kDivision, QStringLiteral("div.csv"));
    cboDivision = divisions->shown();
    cboDivisionhidden = divisions->twin();
}

QString fAddDpt::firstProblem() {
    if (QString p = emptyFieldProblem(txtdptname, txtdptnumber, divisions); !p.isEmpty()) return p;
    return valueProblem();
}

QStringList fAddDpt::records() {
    return {QStringLiteral("1,add,dpt,") + txtdptnumber->text() + QLatin1Char(',') +
            txtdptname->text() + QLatin1Char(',') + divisions->currentKey()};
}

feditdpt::feditdpt(const QStringList& row, QWidget* parent)
    : OrgForm({kRecordModifyOK, QStringLiteral("DPT Modified OK"), QStringLiteral("DPT")},
              QStringLiteral("Modify Department"), parent) {
    setObjectName(QStringLiteral("feditdpt"));
    txtdptnumber = keyBox(QStringLiteral("txtdptnumber"), kNumber, false);
    txtdptname = nameBox(QStringLiteral("txtdptname"), kName);
    txtdptnumber->setText(row.value(0));
    txtdptname->setText(row.value(1));
    txtdptnumberold = oldBox(QStringLiteral("txtdptnumberold"), row.value(0));
    txtdptnameold = oldBox(QStringLiteral("txtdptnameold"), row.value(1));
    txtdivnumberold = oldBox(QStringLiteral("txtdivnumberold"), row.value(2));
    // The one change form whose dots do not run from its load.
    tmrreport->stop();
    divisions = pickList(QStringLiteral("cboDivision"), QStringLiteral("cboDivisionhidden"),
                         kDivision, QStringLiteral("div.csv"));
    cboDivision = divisions->shown();
    cboDivisionhidden = divisions->twin();
    divisions->preselect(row.value(2));
}

QString feditdpt::firstProblem() {
    if (QString p = emptyFieldProblem(txtdptname, txtdptnumber, divisions); !p.isEmpty()) return p;
    return valueProblem();
}

QStringList feditdpt::records() {
    // The line ends in one blank, as the server has always received it.
    return {QStringLiteral("1,mod,dpt,") + txtdptnumberold->text() + QStringLiteral(",\"") +
            txtdptnameold->text() + QStringLiteral("\",") + txtdivnumberold->text() +
            QLatin1Char(',') + txtdptnumber->text() + QStringLiteral(",\"") + txtdptname->text() +
            QStringLiteral("\",") + divisions->currentKey() + QLatin1Char(' ')};
}

}  // namespace quillon
