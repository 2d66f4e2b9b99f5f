#include "tables/ExtensionForms.h"

#include "changes/ChangeRequest.h"
#include "widgets/KeyedPickList.h"

#include <QComboBox>
#include <QLineEdit>

namespace quillon {

ExtensionForm::ExtensionForm(ChangeMember member, const QString& caption, bool numberEditable,
                             QWidget* parent)
    : OrgForm(std::move(member), caption, parent) {
    txtextnumber =
        keyBox(QStringLiteral("txtextnumber"), QStringLiteral("Extension Number"), numberEditable);
    txtextname = nameBox(QStringLiteral("txtextname"), QStringLiteral("Extension Name"));
    departments = pickList(QStringLiteral("cboDepartment"), QStringLiteral("cboDepartmenthidden"),
                           QStringLiteral("Department Number"), QStringLiteral("dpt.csv"));
    cboDepartment = departments->shown();
    cboDepartmenthidden = departments->twin();
    txtequipment = amountBox(QStringLiteral("txtequipment"), QStringLiteral("Equipment Cost"));
    txtcredit = amountBox(QStringLiteral("txtcredit"), QStringLiteral("Credit"));
    txtoverhead = amountBox(QStringLiteral("txtoverhead"), QStringLiteral("Overhead"));
    txttotal = amountBox(QStringLiteral("txttotal"), QStringLiteral("Total Usage"));
    txtother = amountBox(QStringLiteral("txtother"), QStringLiteral("Other"));
}

QString ExtensionForm::emptyFieldProblem(bool nameChecked) const {
    const std::pair<const QLineEdit*, const char*> boxes[] = {
        {txtextnumber, "You must enter an extension Number"},
        {txtother, "You must enter a value in Other category"},
        {txtoverhead, "You must enter a value in OverHead category"},
        {txttotal, "YYou must enter a value in Total category"},
        {txtextname, "YYou must enter an extension Name"},
        {nullptr, "You must choose a Department"},
        {txtequipment, "You must enter a value in Equipment category"},
        {txtcredit, "You must enter a value in Credit category"},
    };
    for (const auto& [box, message] : boxes) {
        const bool empty = box ? box->text().isEmpty() : departments->currentIndex() < 0;
        if (box == txtextname && !nameChecked) continue;
        if (empty) return QString::fromLatin1(message);
    }
    return {};
}

QString ExtensionForm::newValues(bool quotedName) const {
    const QString quote = quotedName ? QStringLiteral("\"") : QString();
    return txtextnumber->text() + QLatin1Char(',') + quote + txtextname->text() + quote +
           QLatin1Char(',') + departments->currentKey() + QLatin1Char(',') + txtequipment->text() +
           QLatin1Char(',') + txtcredit->text() + QLatin1Char(',') + txtoverhead->text() +
           QLatin1Char(',') + txttotal->text() + QLatin1Char(',') + txtother->text();
}

fAddext::fAddext(QWidget* parent)
    : ExtensionForm({kRecordAddedOK, QStringLiteral("EXT added OK"), QStringLiteral("EXT")},
                    QStringLiteral("Add Extension"), /*numberEditable=*/true, parent) {
    setObjectName(QStringLiteral("fAddext"));
    for (QLineEdit* box : {txtequipment, txtcredit, txtoverhead, txttotal, txtother})
        box->setText(QStringLiteral("0"));
}

QString fAddext::firstProblem() {
    if (txtextname->text().isEmpty())
        return QStringLiteral("You must enter a name for this extension");
    // The add form sends every field, so each must hold something.
    if (QString p = emptyFieldProblem(false); !p.isEmpty()) return p;
    return valueProblem();
}

QStringList fAddext::records() {
    return {QStringLiteral("1,add,ext,") + newValues(false)};
}

feditext::feditext(const QStringList& row, QWidget* parent)
    : ExtensionForm({kRecordModifyOK, QStringLiteral("EXT Modified OK"), QStringLiteral("EXT")},
                    QStringLiteral("Modify Extension"), /*numberEditable=*/false, parent) {
    setObjectName(QStringLiteral("feditext"));
    txtextnumber->setText(row.value(0));
    txtextname->setText(row.value(1));
    const std::array<QLineEdit*, 5> amounts{txtequipment, txtcredit, txtoverhead, txttotal,
                                            txtother};
    for (int i = 0; i < 5; ++i) showStored(amounts[i], row.value(3 + i));
    txtextnumberold = oldBox(QStringLiteral("txtextnumberold"), row.value(0));
    txtextnameold = oldBox(QStringLiteral("txtextnameold"), row.value(1));
    txtdptnumberold = oldBox(QStringLiteral("txtdptnumberold"), row.value(2));
    txtequipmentold = oldBox(QStringLiteral("txtequipmentold"), row.value(3));
    txtcreditold = oldBox(QStringLiteral("txtcreditold"), row.value(4));
    txtoverheadold = oldBox(QStringLiteral("txtoverheadold"), row.value(5));
    txttotalold = oldBox(QStringLiteral("txttotalold"), row.value(6));
    txtotherold = oldBox(QStringLiteral("txtotherold"), row.value(7));
    departments->preselect(row.value(2));
}

QString feditext::firstProblem() {
    if (QString p = emptyFieldProblem(true); !p.isEmpty()) return p;
    return valueProblem();
}

QStringList feditext::records() {
    const QString old = txtextnumberold->text() + QStringLiteral(",\"") + txtextnameold->text() +
                        QStringLiteral("\",") + txtdptnumberold->text() + QLatin1Char(',') +
                        txtequipmentold->text() + QLatin1Char(',') + txtcreditold->text() +
                        QLatin1Char(',') + txtoverheadold->text() + QLatin1Char(',') +
                        txttotalold->text() + QLatin1Char(',') + txtotherold->text();
    // Old row, new row; the line ends in two blanks, as the server has always received it.
    return {QStringLiteral("1,mod,ext,") + old + QLatin1Char(',') + newValues(true) +
            QStringLiteral("  ")};
}

}  // namespace quillon
