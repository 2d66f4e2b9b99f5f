#pragma once
// "User Permissions": adds a user to the current site with a password and the menu buttons
// granted in the picker.
#include "access/AdminWidgets.h"

class QLineEdit;
class QPushButton;

namespace quillon {

class frmPermissions : public UserAdminWindow {
    Q_OBJECT
public:
    explicit frmPermissions(QWidget* parent = nullptr);

    QLineEdit* txtadduser = nullptr;
    QLineEdit* txtaddpasswd = nullptr;
    QLineEdit* txtconfirmpasswd = nullptr;
    ButtonPicker* picker = nullptr;
    QPushButton* cmdadduser = nullptr;

    void Form_Load();
    void txtadduser_Change();
    void txtaddpasswd_Change();
    void txtconfirmpasswd_Change();
    void cmdadduser_Click();
};

}  // namespace quillon
