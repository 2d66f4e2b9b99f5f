#pragma once
// The extension forms: fAddext adds an extension row, feditext changes the one chosen in the
// manager's grid (all but its number). A row is the eight columns of ext.csv; the department
// is picked from the mirror's department table.
#include "tables/OrgForm.h"

#include <array>

class QComboBox;
class QLineEdit;

namespace quillon {

class KeyedPickList;

// The fields both forms show, check and send, in the order of ext.csv.
class ExtensionForm : public OrgForm {
    Q_OBJECT
public:
    QLineEdit* txtextnumber = nullptr;
    QLineEdit* txtextname = nullptr;
    QComboBox* cboDepartment = nullptr;
    QComboBox* cboDepartmenthidden = nullptr;
    KeyedPickList* departments = nullptr;
    QLineEdit* txtequipment = nullptr;
    QLineEdit* txtcredit = nullptr;
    QLineEdit* txtoverhead = nullptr;
    QLineEdit* txttotal = nullptr;
    QLineEdit* txtother = nullptr;

protected:
    ExtensionForm(ChangeMember member, const QString& caption, bool numberEditable,
                  QWidget* parent);
    // The checks of the modify form, in its order; the add form puts its own name check first.
    QString emptyFieldProblem(bool nameChecked) const;
    // The eight values as the record carries them, the name in double quotes when quoted.
    QString newValues(bool quotedName) const;
};

class fAddext : public ExtensionForm {
    Q_OBJECT
public:
    explicit fAddext(QWidget* parent = nullptr);

protected:
    QString firstProblem() override;
    QStringList records() override;
};

class feditext : public ExtensionForm {
    Q_OBJECT
public:
    // row: the manager grid's eight cells (the number as the grid shows it).
    explicit feditext(const QStringList& row, QWidget* parent = nullptr);

    QLineEdit* txtextnumberold = nullptr;
    QLineEdit* txtextnameold = nullptr;
    QLineEdit* txtdptnumberold = nullptr;
    QLineEdit* txtequipmentold = nullptr;
    QLineEdit* txtcreditold = nullptr;
    QLineEdit* txtoverheadold = nullptr;
    QLineEdit* txttotalold = nullptr;
    QLineEdit* txtotherold = nullptr;

protected:
    QString firstProblem() override;
    QStringList records() override;
};

}  // namespace quillon
