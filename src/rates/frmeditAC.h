#pragma once
// The modify form of one row of the LD table: the row's area code and prefix shown, its
// location and rate class to change; one "mod" record with the row as loaded and as changed.
// The rate list is pick-only: the eight classes, and a class without a number of its own
// ("International") as the row has it, which keeps the row's rate.
#include "changes/ChangeForm.h"
#include "rates/AreaCodes.h"

#include <QList>
#include <QStringList>

class QComboBox;
class QLineEdit;

namespace quillon {

class frmeditAC : public ChangeForm {
    Q_OBJECT
public:
    // row: the cells of the area-code window's grid row (key, area code, prefix, location,
    // rate number, rate class).
    explicit frmeditAC(const QStringList& row, QWidget* parent = nullptr);

    QLineEdit* txtareacode = nullptr;
    QLineEdit* txtprefix = nullptr;
    QLineEdit* txtname = nullptr;
    QComboBox* cborate = nullptr;
    QLineEdit* txtareacodeold = nullptr;
    QLineEdit* txtprefixold = nullptr;
    QLineEdit* txtnameold = nullptr;
    QLineEdit* txtrateold = nullptr;
    // The rate row and calc row the chosen class leads to; never shown nor sent.
    QList<QLineEdit*> rateBoxes;  // txtoaic, txtoaac, txtDDIC, txtDDAC, txtmarkup
    QList<QLineEdit*> calcBoxes;  // txtpmkup ... txtoaat

    // The rate number of the class chosen, as Save sends it.
    QString chosenRate() const;

    void cborate_Click();

protected:
    QString firstProblem() override;
    QStringList records() override;
    QList<QWidget*> inputFields() const override;

private:
    void fillLookupBoxes(const QString& rateNumber);

    LdTables m_tables;
    QString m_Rate;
    QString m_ownClass;  // the row's class when the list has no number for it
};

}  // namespace quillon
