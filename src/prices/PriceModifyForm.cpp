#include "prices/PriceModifyForm.h"

#include "changes/ChangeRequest.h"
#include "common/Messages.h"

#include <QLineEdit>
#include <QPushButton>

namespace quillon {

namespace {
const QString kTimePeriodMissing = QStringLiteral("You must enter a Time Period");
const QString kCostMissing = QStringLiteral("You must enter a Cost");
}  // namespace

PriceModifyForm::PriceModifyForm(const PriceLine& line, const QString& caption, bool emptyAllowed,
                                 QWidget* parent)
    : ChangeForm({.acceptedAnswer = kTwoRecordsModifyOK,
                  .successText = QStringLiteral("Data Modified"),
                  .reloadWord = QStringLiteral("LD"),
                  // The list pulls the tables itself when it loads again after the form.
                  .pullsTablesOnClose = false,
                  .cancelWhileSending = false},
                 caption, parent),
      m_line(line),
      m_emptyAllowed(emptyAllowed) {
    Cmdclose = cmdcancel;
    Cmdclose->setObjectName(QStringLiteral("Cmdclose"));
    const QStringList& cell = m_line.cells;

    txtcatagory =
        shownBox(QStringLiteral("txtcatagory"), QStringLiteral("Catagory"), cell.value(0));
    txtcatagory->setEnabled(false);
    txtoait =
        shownBox(QStringLiteral("txtoait"), QStringLiteral("Initial Time Period"), cell.value(1));
    txtoaic = shownBox(QStringLiteral("txtoaic"), QStringLiteral("Initial Cost"), cell.value(2));
    txtoaat = shownBox(QStringLiteral("txtoaat"), QStringLiteral("Additional Time Period"),
                       cell.value(3));
    txtoaac = shownBox(QStringLiteral("txtoaac"), QStringLiteral("Additional Cost"), cell.value(4));
    txtmarkup = shownBox(QStringLiteral("txtmarkup"), QStringLiteral("Surcharge"), cell.value(5));
    txtpmkup = shownBox(QStringLiteral("txtpmkup"), QStringLiteral("% Markup"), cell.value(6));
    txtfmkup = shownBox(QStringLiteral("txtfmkup"), QStringLiteral("Fixed Markup"), cell.value(7));
    txtptax = shownBox(QStringLiteral("txtptax"), QStringLiteral("Tax %"), cell.value(8));
    txtthres =
        shownBox(QStringLiteral("txtthres"), QStringLiteral("Threshold Time"), cell.value(9));

    // The old boxes hold the line as stored; the records' old halves are the stored rows.
    using namespace calcfield;
    const QStringList& rate = m_line.rateFields;
    const QStringList& calc = m_line.calcFields;
    txtcatagoryold = oldBox(QStringLiteral("txtcatagoryold"), cell.value(0));
    txtoaitold = oldBox(QStringLiteral("txtoaitold"), calc.value(Ddit));
    txtoaicold = oldBox(QStringLiteral("txtoaicold"), rate.value(ratefield::Oaic));
    txtoaatold = oldBox(QStringLiteral("txtoaatold"), calc.value(Ddat));
    txtoaacold = oldBox(QStringLiteral("txtoaacold"), rate.value(ratefield::Oaac));
    txtmarkupold = oldBox(QStringLiteral("txtmarkupold"), rate.value(ratefield::Markup));
    txtpmkupold = oldBox(QStringLiteral("txtpmkupold"), calc.value(Pmkup));
    txtfmkupold = oldBox(QStringLiteral("txtfmkupold"), calc.value(Fmkup));
    txtptaxold = oldBox(QStringLiteral("txtptaxold"), calc.value(Ptax));
    txtthresold = oldBox(QStringLiteral("txtthresold"), calc.value(Thres));
    txtgraceold = oldBox(QStringLiteral("txtgraceold"), calc.value(Grace));
    txtflagold = oldBox(QStringLiteral("txtflagold"), calc.value(Flag));
    txtbreakold = oldBox(QStringLiteral("txtbreakold"), calc.value(Br));
    txtrowold = oldBox(QStringLiteral("txtrowold"), calc.value(Row));

    m_amounts = {
        {txtoait, QStringLiteral("Initial Time Period"), kTimePeriodMissing},
        {txtoaic, QStringLiteral("Initial Cost"), kCostMissing},
        {txtoaat, QStringLiteral("Additional Time Period"), kTimePeriodMissing},
        {txtoaac, QStringLiteral("Additional Cost"), kCostMissing},
        {txtmarkup, QStringLiteral("Surcharge"), QStringLiteral("You must enter a markup")},
        {txtpmkup, QStringLiteral("% Markup"), QStringLiteral("You must enter a % markup")},
        {txtfmkup, QStringLiteral("Fixed Markup"), QStringLiteral("You must enter a Fixed markup")},
        {txtptax, QStringLiteral("Tax"), QStringLiteral("You must enter a Tax")},
        {txtthres, QStringLiteral("Threshold Time"),
         QStringLiteral("You must enter a Thresh hold time")},
    };
    // Only numbers can be typed; the values as loaded stand as stored.
    for (const Amount& a : m_amounts) {
        showStored(a.box, a.box->text());
        filterNumbers(a.box);
    }
}

QLineEdit* PriceModifyForm::shownBox(const QString& name, const QString& label,
                                     const QString& text) {
    auto* box = new QLineEdit(text, this);
    box->setObjectName(name);
    addField(label, box);
    return box;
}

QLineEdit* PriceModifyForm::oldBox(const QString& name, const QString& text) {
    auto* box = new QLineEdit(text, this);
    box->setObjectName(name);
    addHidden(box);
    return box;
}

QList<QWidget*> PriceModifyForm::inputFields() const {
    QList<QWidget*> out;
    for (const Amount& a : m_amounts) out << a.box;
    return out;
}

QString PriceModifyForm::firstProblem() {
    if (!m_emptyAllowed) {
        if (txtcatagory->text().isEmpty()) return QStringLiteral("You must enter a Name");
        for (const Amount& a : m_amounts)
            if (a.box->text().isEmpty()) return a.emptyMessage;
    }
    for (const Amount& a : m_amounts) {
        if (a.box->text().isEmpty() || holdsStored(a.box)) continue;
        if (QString p = amountProblem(a.label, a.box->text()); !p.isEmpty()) return p;
    }
    // A stored value that would shift the record's fields (or steer the server's reader).
    for (const QStringList* row : {&m_line.rateFields, &m_line.calcFields})
        for (const QString& v : *row)
            if (v.contains(QLatin1Char(',')) || v.contains(QLatin1Char('"')))
                return QStringLiteral(
                           "The stored row holds the value \"%1\", which a change request "
                           "cannot carry. This line cannot be modified here.")
                    .arg(v);
    return {};
}

bool PriceModifyForm::confirmSave() {
    const QStringList differ = differingHalves(m_line);
    if (differ.isEmpty()) return true;
    return ask(QStringLiteral("The stored direct-dialled and operator-assisted values of this "
                              "line differ:\r\n\r\n%1\r\n\r\nSaving writes the values shown into "
                              "both. Save anyway?")
                   .arg(differ.join(QStringLiteral("\r\n"))));
}

QStringList PriceModifyForm::records() {
    return priceChangeRecords(m_line, {txtoait->text(), txtoaic->text(), txtoaat->text(),
                                       txtoaac->text(), txtmarkup->text(), txtpmkup->text(),
                                       txtfmkup->text(), txtptax->text(), txtthres->text()});
}

// Every box must hold something here.
frmdomesticpricingmodify::frmdomesticpricingmodify(const PriceLine& line, QWidget* parent)
    : PriceModifyForm(line, QStringLiteral("Domestic Pricing (Modify)"), false, parent) {
    setObjectName(QStringLiteral("frmdomesticpricingmodify"));
}

// An empty box goes as an empty field; the server's answer decides.
frminternationalpricingmodify::frminternationalpricingmodify(const PriceLine& line, QWidget* parent)
    : PriceModifyForm(line, QStringLiteral("Modify International  Pricing"), true, parent) {
    setObjectName(QStringLiteral("frminternationalpricingmodify"));
}

}  // namespace quillon
