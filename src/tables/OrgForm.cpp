#include "tables/OrgForm.h"

#include "changes/ChangeRequest.h"
#include "reports/common/SelectionTable.h"
#include "widgets/KeyedPickList.h"
#include "widgets/NumericTextFilter.h"
#include "widgets/TypedLengthLimit.h"

#include <QComboBox>
#include <QLineEdit>

namespace quillon {

namespace {
// The label as the messages name the field: "Division Number:" is the Division Number.
QString fieldName(const QString& label) {
    QString name = label.trimmed();
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    return name;
}
}  // namespace

OrgForm::OrgForm(ChangeMember member, const QString& caption, QWidget* parent)
    : ChangeForm(std::move(member), caption, parent) {}

void OrgForm::registerField(QWidget* field, Kind kind, const QString& label, bool locked) {
    if (locked) m_inputs << field;
    m_checked << Checked{field, kind, fieldName(label)};
}

QLineEdit* OrgForm::keyBox(const QString& name, const QString& label, bool editable) {
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    if (editable)
        connect(box, &QLineEdit::textChanged, box, [box] { applyNumericTextFilter(box); });
    else
        box->setEnabled(false);
    addField(label, box);
    // The key of a modify form cannot be changed: Save's lock and unlock leave it disabled.
    registerField(box, Kind::Key, label, editable);
    return box;
}

QLineEdit* OrgForm::nameBox(const QString& name, const QString& label) {
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    limitTypedLength(box, kNameLength);
    addField(label, box);
    registerField(box, Kind::Name, label);
    return box;
}

QLineEdit* OrgForm::amountBox(const QString& name, const QString& label) {
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    filterNumbers(box);
    addField(label, box);
    registerField(box, Kind::Amount, label);
    return box;
}

KeyedPickList* OrgForm::pickList(const QString& shown, const QString& twin, const QString& label,
                                 const QString& table) {
    auto* list = new KeyedPickList(this, shown, twin);
    addField(label, list->shown());
    registerField(list->shown(), Kind::Key, label);
    m_lists << list;
    if (!table.isEmpty()) fill(list, table);
    return list;
}

void OrgForm::fill(KeyedPickList* list, const QString& table) {
    const SelectionTable entries = loadSiteTable(table, true);
    list->setEntries(entries.entries);
    entries.tellProblem();
}

QLineEdit* OrgForm::oldBox(const QString& name, const QString& value) {
    auto* box = new QLineEdit(value, this);
    box->setObjectName(name);
    addHidden(box);
    return box;
}

QString OrgForm::valueProblem() const {
    for (const Checked& c : m_checked) {
        QString text;
        if (auto* box = qobject_cast<QLineEdit*>(c.field)) {
            text = box->text();
        } else {
            for (const KeyedPickList* list : m_lists)
                if (list->shown() == c.field) text = list->currentKey();
        }
        QString problem;
        switch (c.kind) {
            case Kind::Key:
                problem = keyProblem(c.label, text);
                break;
            case Kind::Name:
                problem = nameProblem(c.label, text);
                break;
            case Kind::Amount:
                // A value left as stored goes back as it is, whatever its spelling.
                if (auto* box = qobject_cast<QLineEdit*>(c.field); box && holdsStored(box)) break;
                problem = amountProblem(c.label, text);
                break;
        }
        if (!problem.isEmpty()) return problem;
    }
    return {};
}

}  // namespace quillon
