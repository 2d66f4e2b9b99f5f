#include "rates/frmeditAC.h"

#include "changes/ChangeRequest.h"
#include "widgets/NamedControls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace quillon {

namespace {
const char* const kRateBoxes[] = {"txtoaic", "txtoaac", "txtDDIC", "txtDDAC", "txtmarkup"};
const char* const kCalcBoxes[] = {"txtpmkup", "txtfmkup", "txtptax", "txtgrace", "txtthres",
                                  "txtddit",  "txtddat",  "txtoait", "txtoaat"};
}  // namespace

frmeditAC::frmeditAC(const QStringList& row, QWidget* parent)
    : ChangeForm({.acceptedAnswer = kRecordModifyOK,
                  .successText = QStringLiteral("Data Modified"),
                  .reloadWord = QStringLiteral("LD"),
                  .pullsTablesOnClose = false},
                 QStringLiteral("Modify Area Codes"), parent),
      m_tables(LdTables::load()) {
    setObjectName(QStringLiteral("frmeditAC"));
    cmdsave->setText(QStringLiteral("Save "));
    cmdcancel->setObjectName(QStringLiteral("Cmdclose"));

    const auto box = [this](const char* name, const QString& value) {
        return namedBox(this, QString::fromLatin1(name), value);
    };
    txtareacode = box("txtareacode", row.value(1));
    txtareacode->setEnabled(false);
    txtprefix = box("txtprefix", row.value(2));
    txtprefix->setEnabled(false);
    txtname = box("txtname", row.value(3));
    cborate = new QComboBox(this);
    cborate->setObjectName(QStringLiteral("cborate"));
    cborate->setEditable(false);
    addField(QStringLiteral("Area Code"), txtareacode);
    addField(QStringLiteral("Prefix"), txtprefix);
    addField(QStringLiteral("Name"), txtname);
    addField(QStringLiteral("Rate"), cborate);

    txtareacodeold = box("txtareacodeold", row.value(1));
    txtprefixold = box("txtprefixold", row.value(2));
    txtnameold = box("txtnameold", row.value(3));
    txtrateold = box("txtrateold", row.value(4));
    for (QLineEdit* b : {txtareacodeold, txtprefixold, txtnameold, txtrateold}) addHidden(b);
    for (const char* name : kRateBoxes) rateBoxes << box(name, QString());
    for (const char* name : kCalcBoxes) calcBoxes << box(name, QString());
    for (QLineEdit* b : rateBoxes + calcBoxes) {
        b->setEnabled(false);
        addHidden(b);
    }

    // The row's class stands in the box as loaded; one the list has no number for keeps the
    // row's own rate.
    const QString rowClass = row.value(5);
    if (!rowClass.isEmpty() && !rateForChoice(modifyRateChoices(), rowClass)) {
        m_ownClass = rowClass;
        cborate->addItem(rowClass);
    }
    for (const RateChoice& c : modifyRateChoices()) cborate->addItem(c.text);
    cborate->setCurrentIndex(cborate->findText(rowClass));
    fillLookupBoxes(row.value(4));
    connect(cborate, &QComboBox::currentIndexChanged, this, &frmeditAC::cborate_Click);
}

QString frmeditAC::chosenRate() const {
    if (!m_Rate.isEmpty()) return m_Rate;
    const QString text = cborate->currentText();
    if (!m_ownClass.isEmpty() && text == m_ownClass) return txtrateold->text();
    return rateForChoice(modifyRateChoices(), text).value_or(QString());
}

void frmeditAC::fillLookupBoxes(const QString& rateNumber) {
    const RateRows rows = rateRows(m_tables, rateNumber);
    for (int i = 0; i < rateBoxes.size(); ++i)
        rateBoxes[i]->setText(rows.rate >= 0 ? m_tables.rate[rows.rate].value(i + 1) : QString());
    for (int i = 0; i < calcBoxes.size(); ++i)
        calcBoxes[i]->setText(rows.calc >= 0 ? m_tables.calc[rows.calc].value(i + 1) : QString());
}

void frmeditAC::cborate_Click() {
    m_Rate.clear();
    m_Rate = chosenRate();
    fillLookupBoxes(m_Rate);
}

QList<QWidget*> frmeditAC::inputFields() const {
    // The area code and prefix stay disabled whatever Save does.
    return {txtname, cborate};
}

QString frmeditAC::firstProblem() {
    if (txtareacode->text().isEmpty()) return QStringLiteral("You must enter a areacode");
    if (txtprefix->text().isEmpty()) return QStringLiteral("You must enter a prefix");
    if (txtname->text().isEmpty()) return QStringLiteral("You must enter a Name");
    if (cborate->currentText().isEmpty()) return QStringLiteral("You must select a rate");
    const std::pair<QString, QLineEdit*> values[] = {
        {QStringLiteral("Name"), txtname},
        {QStringLiteral("stored name"), txtnameold},
        {QStringLiteral("Area Code"), txtareacodeold},
        {QStringLiteral("Prefix"), txtprefixold},
        {QStringLiteral("stored rate"), txtrateold},
    };
    for (const auto& [label, b] : values)
        if (QString p = nameProblem(label, b->text()); !p.isEmpty()) return p;
    if (chosenRate().isEmpty())
        return QStringLiteral("The rate of this row is not known: choose a rate from the list.");
    return {};
}

QStringList frmeditAC::records() {
    const LdRow old{txtareacodeold->text(), txtprefixold->text(), txtnameold->text(),
                    txtrateold->text()};
    const LdRow changed{txtareacodeold->text(), txtprefixold->text(), txtname->text(),
                        chosenRate()};
    return {ldModifyRecord(old, changed)};
}

}  // namespace quillon
