#pragma once
// The line forms: FAddLine adds a line (number, extension, line type), feditline changes the
// extension and line type of the one chosen in the manager's grid. Both are picked from the
// mirror's extension and line-type tables.
#include "tables/OrgForm.h"

class QComboBox;
class QLineEdit;

namespace quillon {

class KeyedPickList;

class FAddLine : public OrgForm {
    Q_OBJECT
public:
    explicit FAddLine(QWidget* parent = nullptr);

    QLineEdit* txtlinenumber = nullptr;
    QComboBox* cboext = nullptr;
    QComboBox* cboexthidden = nullptr;
    QComboBox* cbolt = nullptr;
    QComboBox* cbolthidden = nullptr;
    KeyedPickList* extensions = nullptr;
    KeyedPickList* lineTypes = nullptr;

protected:
    QString firstProblem() override;
    QStringList records() override;
};

class feditline : public OrgForm {
    Q_OBJECT
public:
    // row: the manager grid's cells (number as shown, extension and line type as the mirror
    // holds them).
    explicit feditline(const QStringList& row, QWidget* parent = nullptr);

    QLineEdit* txtlinenumber = nullptr;
    QComboBox* cboext = nullptr;
    QComboBox* cboexthidden = nullptr;
    QComboBox* cbolt1 = nullptr;
    QComboBox* cbolthidden = nullptr;
    KeyedPickList* extensions = nullptr;
    KeyedPickList* lineTypes = nullptr;
    QLineEdit* txtlinenumberold = nullptr;
    QLineEdit* txtextnumberold = nullptr;
    QLineEdit* txtlinetypeold = nullptr;

protected:
    QString firstProblem() override;
    QStringList records() override;
};

}  // namespace quillon
