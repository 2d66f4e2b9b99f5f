#pragma once
// The add form of the LD table: a location name, an area code and prefix (digits) and a rate
// from the system's list; one "add" record, the server assigning the key.
#include "changes/ChangeForm.h"

class QComboBox;
class QLineEdit;

namespace quillon {

class frmaddac : public ChangeForm {
    Q_OBJECT
public:
    static constexpr int kNameLength = 25;

    explicit frmaddac(QWidget* parent = nullptr);

    QLineEdit* txtname = nullptr;
    QLineEdit* txtareacode = nullptr;
    QLineEdit* txtprefix = nullptr;
    QComboBox* cborate = nullptr;

    // The rate number the box's text names; empty when it names no entry of the list.
    QString rateNumber() const;

protected:
    QString firstProblem() override;
    QStringList records() override;
    QList<QWidget*> inputFields() const override;
};

}  // namespace quillon
