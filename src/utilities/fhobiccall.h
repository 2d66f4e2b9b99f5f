#pragma once
// Test Call: hands the server one made-up call record for a guest-room extension and runs its
// test-call program on it, in the site's server folder.
#include "common/ReentryGuard.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTimeEdit;

namespace quillon {

class KeyedPickList;

class fhobiccall : public QDialog {
    Q_OBJECT
public:
    explicit fhobiccall(QWidget* parent = nullptr);

    KeyedPickList* extensions = nullptr;  // cboext and its twin cboexthidden
    QComboBox* cboext = nullptr;
    QComboBox* cboexthidden = nullptr;
    QComboBox* cbotype = nullptr;
    QDateEdit* startdate = nullptr;
    QTimeEdit* starttime = nullptr;
    QComboBox* cbotime = nullptr;
    QComboBox* cbocharge = nullptr;
    QLineEdit* txtnumber = nullptr;
    QPushButton* cmdrun = nullptr;

    void Form_Load();
    void txtnumber_Change();
    void cmdrun_Click();


private:
    ReentryGuard m_sending;
};

}  // namespace quillon
