#pragma once
// The division forms: fAddDiv adds a division (its number and name), fEditDiv renames the one
// chosen in the manager's grid, whose number it shows but does not let the user change.
#include "tables/OrgForm.h"

class QLineEdit;

namespace quillon {

class fAddDiv : public OrgForm {
    Q_OBJECT
public:
    explicit fAddDiv(QWidget* parent = nullptr);

    QLineEdit* txtdivnumber = nullptr;
    QLineEdit* txtDivName = nullptr;

protected:
    QString firstProblem() override;
    QStringList records() override;
};

class fEditDiv : public OrgForm {
    Q_OBJECT
public:
    // row: the cells of the manager's grid row (number as the grid shows it, name).
    explicit fEditDiv(const QStringList& row, QWidget* parent = nullptr);

    QLineEdit* txtdivnumber = nullptr;
    QLineEdit* txtDivName = nullptr;
    QLineEdit* txtdivnumberold = nullptr;
    QLineEdit* txtDivNameold = nullptr;

protected:
    QString firstProblem() override;
    QStringList records() override;
};

}  // namespace quillon
