#include "tables/LineForms.h"

#include "changes/ChangeRequest.h"
#include "widgets/KeyedPickList.h"

#include <QComboBox>
#include <QLineEdit>

namespace quillon {

namespace {
const QString kNumber = QStringLiteral("Line Number");
const QString kExtension = QStringLiteral("Extension Number");
const QString kLineType = QStringLiteral("Line Type Number");

// Neither form may send a line without its number, extension and line type.
QString emptyFieldProblem(const QLineEdit* number, const KeyedPickList* extension,
                          const KeyedPickList* lineType) {
    if (number->text().isEmpty()) return QStringLiteral("You must enter a Line number");
    if (extension->currentIndex() < 0) return QStringLiteral("You must choose an Extension");
    if (lineType->currentIndex() < 0) return QStringLiteral("You must choose a Line Type");
    return {};
}
}  // namespace

FAddLine::FAddLine(QWidget* parent)
    : OrgForm({kRecordAddedOK, QStringLiteral("LINE added OK"), QStringLiteral("LINE")},
              QStringLiteral("Add Line"), parent) {
    setObjectName(QStringLiteral("FAddLine"));
    txtlinenumber = keyBox(QStringLiteral("txtlinenumber"), kNumber, true);
    extensions = pickList(QStringLiteral("cboext"), QStringLiteral("cboexthidden"), kExtension);
    lineTypes = pickList(QStringLiteral("cbolt"), QStringLiteral("cbolthidden"), kLineType);
    // The line types are read before the extensions, as the system reads them.
    fill(lineTypes, QStringLiteral("lt.csv"));
    fill(extensions, QStringLiteral("ext.csv"));
    cbolt = lineTypes->shown();
    cbolthidden = lineTypes->twin();
    cboext = extensions->shown();
    cboexthidden = extensions->twin();
}

QString FAddLine::firstProblem() {
    if (QString p = emptyFieldProblem(txtlinenumber, extensions, lineTypes); !p.isEmpty()) return p;
    return valueProblem();
}

QStringList FAddLine::records() {
    return {QStringLiteral("1,add,line,") + txtlinenumber->text() + QLatin1Char(',') +
            extensions->currentKey() + QLatin1Char(',') + lineTypes->currentKey()};
}

feditline::feditline(const QStringList& row, QWidget* parent)
    : OrgForm({kRecordModifyOK, QStringLiteral("LINE Modified OK"), QStringLiteral("LINE")},
              QStringLiteral("Modify Line"), parent) {
    setObjectName(QStringLiteral("feditline"));
    txtlinenumber = keyBox(QStringLiteral("txtlinenumber"), kNumber, false);
    txtlinenumber->setText(row.value(0));
    txtlinenumberold = oldBox(QStringLiteral("txtlinenumberold"), row.value(0));
    txtextnumberold = oldBox(QStringLiteral("txtextnumberold"), row.value(1));
    txtlinetypeold = oldBox(QStringLiteral("txtlinetypeold"), row.value(2));
    extensions = pickList(QStringLiteral("cboext"), QStringLiteral("cboexthidden"), kExtension);
    lineTypes = pickList(QStringLiteral("cbolt1"), QStringLiteral("cbolthidden"), kLineType);
    fill(lineTypes, QStringLiteral("lt.csv"));
    lineTypes->preselect(row.value(2));
    fill(extensions, QStringLiteral("ext.csv"));
    extensions->preselect(row.value(1));
    cbolt1 = lineTypes->shown();
    cbolthidden = lineTypes->twin();
    cboext = extensions->shown();
    cboexthidden = extensions->twin();
}

QString feditline::firstProblem() {
    if (QString p = emptyFieldProblem(txtlinenumber, extensions, lineTypes); !p.isEmpty()) return p;
    return valueProblem();
}

QStringList feditline::records() {
    return {QStringLiteral("1,mod,line,") + txtlinenumberold->text() + QLatin1Char(',') +
            txtextnumberold->text() + QLatin1Char(',') + txtlinetypeold->text() + QLatin1Char(',') +
            txtlinenumber->text() + QLatin1Char(',') + extensions->currentKey() + QLatin1Char(',') +
            lineTypes->currentKey()};
}

}  // namespace quillon
