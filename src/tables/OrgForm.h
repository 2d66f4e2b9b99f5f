#pragma once
// What the add and modify forms of the four organisation tables share beyond the change frame:
// their kinds of field (a key number box, a name box of 25 typed characters, an amount box, a
// pick list of a mirror table with its key twin, the hidden boxes of the old values), the checks
// of the values a record carries, and the table index the manager reloads after them.
#include "changes/ChangeForm.h"

#include <QList>
#include <QString>
#include <QStringList>

class QLineEdit;

namespace quillon {

class KeyedPickList;

class OrgForm : public ChangeForm {
    Q_OBJECT
public:
    static constexpr int kNameLength = 25;

protected:
    OrgForm(ChangeMember member, const QString& caption, QWidget* parent);

    // A key number: with the number filter when the user may type it, disabled otherwise.
    QLineEdit* keyBox(const QString& name, const QString& label, bool editable);
    // A name: at most kNameLength characters typed; a longer one put there by the form stays.
    QLineEdit* nameBox(const QString& name, const QString& label);
    // An amount, with the number filter.
    QLineEdit* amountBox(const QString& name, const QString& label);
    // A pick-only list of "000# name" entries of a mirror table, in file order, with its twin of
    // keys; nothing chosen. Filled at once unless the table is left empty (fill() then).
    KeyedPickList* pickList(const QString& shown, const QString& twin, const QString& label,
                            const QString& table = QString());
    // Fills the list from the table; a missing table (or lines without a name) is told.
    static void fill(KeyedPickList* list, const QString& table);
    // A box that keeps a value as loaded and is never shown.
    QLineEdit* oldBox(const QString& name, const QString& value);

    // The checks of the values that go into the record, in the order of the fields: names,
    // keys (a pick list's key too) and amounts; the message of the first that fails.
    QString valueProblem() const;

    QList<QWidget*> inputFields() const override { return m_inputs; }

private:
    enum class Kind { Key, Name, Amount };
    struct Checked {
        QWidget* field;
        Kind kind;
        QString label;
    };
    void registerField(QWidget* field, Kind kind, const QString& label, bool locked = true);

    QList<QWidget*> m_inputs;
    QList<Checked> m_checked;
    QList<KeyedPickList*> m_lists;
};

}  // namespace quillon
