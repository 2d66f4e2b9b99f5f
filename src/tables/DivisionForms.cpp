#include "tables/DivisionForms.h"

#include "changes/ChangeRequest.h"

#include <QLineEdit>

namespace quillon {

namespace {
const QString kNumber = QStringLiteral("Division Number:");
const QString kName = QStringLiteral("Division Name:");
const QString kNameMissing = QStringLiteral("You must enter a Division name");
const QString kNumberMissing = QStringLiteral("You must enter a Division number");

QString emptyFieldProblem(const QLineEdit* name, const QLineEdit* number) {
    if (name->text().isEmpty()) return kNameMissing;
    if (number->text().isEmpty()) return kNumberMissing;
    return {};
}
}  // namespace

// The add form's closing pulls no tables; every other form's does.
fAddDiv::fAddDiv(QWidget* parent)
    : OrgForm({.acceptedAnswer = kRecordAddedOK,
               .successText = QStringLiteral("Div added OK"),
               .reloadWord = QStringLiteral("DIV"),
               .pullsTablesOnClose = false},
              QStringLiteral("Add Division "), parent) {
    setObjectName(QStringLiteral("fAddDiv"));
    txtdivnumber = keyBox(QStringLiteral("txtdivnumber"), kNumber, true);
    txtDivName = nameBox(QStringLiteral("txtDivName"), kName);
}

QString fAddDiv::firstProblem() {
    if (QString p = emptyFieldProblem(txtDivName, txtdivnumber); !p.isEmpty()) return p;
    return valueProblem();
}

QStringList fAddDiv::records() {
    return {QStringLiteral("1,add,div,") + txtdivnumber->text() + QLatin1Char(',') +
            txtDivName->text()};
}

fEditDiv::fEditDiv(const QStringList& row, QWidget* parent)
    : OrgForm({kRecordModifyOK, QStringLiteral("Div Modified OK"), QStringLiteral("DIV")},
              QStringLiteral("Modify Division"), parent) {
    setObjectName(QStringLiteral("fEditDiv"));
    txtdivnumber = keyBox(QStringLiteral("txtdivnumber"), kNumber, false);
    txtDivName = nameBox(QStringLiteral("txtDivName"), kName);
    txtdivnumber->setText(row.value(0));
    txtDivName->setText(row.value(1));
    txtdivnumberold = oldBox(QStringLiteral("txtdivnumberold"), row.value(0));
    txtDivNameold = oldBox(QStringLiteral("txtDivNameold"), row.value(1));
}

QString fEditDiv::firstProblem() {
    if (QString p = emptyFieldProblem(txtDivName, txtdivnumber); !p.isEmpty()) return p;
    return valueProblem();
}

QStringList fEditDiv::records() {
    return {QStringLiteral("1,mod,div,") + txtdivnumberold->text() + QStringLiteral(",\"") +
            txtDivNameold->text() + QStringLiteral("\",") + txtdivnumber->text() +
            QStringLiteral(",\"") + txtDivName->text() + QLatin1Char('"')};
}

}  // namespace quillon
