#include "rates/frmaddac.h"

#include "changes/ChangeRequest.h"
#include "rates/AreaCodes.h"
#include "widgets/NamedControls.h"
#include "widgets/NumericTextFilter.h"
#include "widgets/TypedLengthLimit.h"

#include <QComboBox>
#include <QLineEdit>

namespace quillon {

frmaddac::frmaddac(QWidget* parent)
    : ChangeForm({.acceptedAnswer = kRecordAddedOK,
                  .successText = QStringLiteral("Areacode added OK"),
                  .reloadWord = QStringLiteral("LD"),
                  .pullsTablesOnClose = false},
                 QStringLiteral("Add Area Codes"), parent) {
    setObjectName(QStringLiteral("frmaddac"));
    txtname = namedBox(this, QStringLiteral("txtname"));
    limitTypedLength(txtname, kNameLength);
    txtareacode = namedBox(this, QStringLiteral("txtareacode"));
    txtprefix = namedBox(this, QStringLiteral("txtprefix"));
    for (QLineEdit* b : {txtareacode, txtprefix})
        connect(b, &QLineEdit::textChanged, b, [b] { applyDigitsOnlyFilter(b); });
    cborate = new QComboBox(this);
    cborate->setObjectName(QStringLiteral("cborate"));
    // The text may be typed, but only an entry's name is sent (its rate number).
    cborate->setEditable(true);
    cborate->setInsertPolicy(QComboBox::NoInsert);
    for (const RateChoice& c : addRateChoices()) cborate->addItem(c.text);
    cborate->setCurrentIndex(-1);
    cborate->setEditText(QString());
    addField(QStringLiteral("Name:"), txtname);
    addField(QStringLiteral("Area Code:"), txtareacode);
    addField(QStringLiteral("Prefix:"), txtprefix);
    addField(QStringLiteral("Rate:"), cborate);
}

QString frmaddac::rateNumber() const {
    return rateForChoice(addRateChoices(), cborate->currentText()).value_or(QString());
}

QList<QWidget*> frmaddac::inputFields() const {
    return {txtname, txtareacode, txtprefix, cborate};
}

QString frmaddac::firstProblem() {
    if (txtname->text().isEmpty()) return QStringLiteral("You must enter a Name");
    if (txtareacode->text().isEmpty()) return QStringLiteral("You must enter a Area Code");
    if (txtprefix->text().isEmpty()) return QStringLiteral("You must enter a Prefix");
    if (cborate->currentText().isEmpty()) return QStringLiteral("You must Choose pricing");
    if (QString p = nameProblem(QStringLiteral("Name"), txtname->text()); !p.isEmpty()) return p;
    if (QString p = keyProblem(QStringLiteral("Area Code"), txtareacode->text()); !p.isEmpty())
        return p;
    if (QString p = keyProblem(QStringLiteral("Prefix"), txtprefix->text()); !p.isEmpty()) return p;
    if (rateNumber().isEmpty())
        return QStringLiteral("\"%1\" is not a rate of the list: choose the rate from the list.")
            .arg(cborate->currentText());
    return {};
}

QStringList frmaddac::records() {
    return {ldAddRecord({txtareacode->text(), txtprefix->text(), txtname->text(), rateNumber()})};
}

}  // namespace quillon
