#pragma once
// The department forms: fAddDpt adds a department (number, name, division), feditdpt changes
// the name and division of the one chosen in the manager's grid. The division is picked from
// the mirror's division table.
#include "tables/OrgForm.h"

class QComboBox;
class QLineEdit;

namespace quillon {

class KeyedPickList;

class fAddDpt : public OrgForm {
    Q_OBJECT
public:
    explicit fAddDpt(QWidget* parent = nullptr);

    QLineEdit* txtdptnumber = nullptr;
    QLineEdit* txtdptname = nullptr;
    QComboBox* cboDivision = nullptr;
    QComboBox* cboDivisionhidden = nullptr;
    KeyedPickList* divisions = nullptr;

protected:
    QString firstProblem() override;
    QStringList records() override;
};

class feditdpt : public OrgForm {
    Q_OBJECT
public:
    // row: the manager grid's cells (number as shown, name, division as the mirror holds it).
    explicit feditdpt(const QStringList& row, QWidget* parent = nullptr);

    QLineEdit* txtdptnumber = nullptr;
    QLineEdit* txtdptname = nullptr;
    QComboBox* cboDivision = nullptr;
    QComboBox* cboDivisionhidden = nullptr;
    KeyedPickList* divisions = nullptr;
    QLineEdit* txtdptnumberold = nullptr;
    QLineEdit* txtdptnameold = nullptr;
    QLineEdit* txtdivnumberold = nullptr;

protected:
    QString firstProblem() override;
    QStringList records() override;
};

}  // namespace quillon
