#pragma once
// The two password windows: "Change Password" (frmpasswd), the logged-in user's own, given the
// old one; and "Admin Manage Passwords" (frmchangepasswd), any listed user's, set by an
// administrator.
#include "access/AdminWidgets.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quillon {

// The new password and its confirmation, and the enabling chain both windows share.
class PasswordWindow : public UserAdminWindow {
    Q_OBJECT
public:
    QLineEdit* txtnewpasswd = nullptr;
    QLineEdit* txtconfirmpasswd = nullptr;

    void txtnewpasswd_Change();
    void txtconfirmpasswd_Change();

protected:
    // Builds the two boxes; `change` is the window's change button.
    PasswordWindow(QWidget* parent, QPushButton* change);
    // The click's own check: the confirmation must still equal the new password.
    bool confirmationMatches() const;
    // A new password with a character the digest's Windows-1252 bytes cannot hold (it would be
    // stored as the digest of another password) is refused and told; true when it was.
    bool newPasswordRefused() const;

    QPushButton* m_change;
};

class frmpasswd : public PasswordWindow {
    Q_OBJECT
public:
    explicit frmpasswd(QWidget* parent = nullptr);

    QLineEdit* txtuser = nullptr;
    QLineEdit* txtoldpasswd = nullptr;
    QPushButton* cmdmodpasswd = nullptr;

    void Form_Load();
    void txtoldpasswd_Change();
    void cmdmodpasswd_Click();
};

class frmchangepasswd : public PasswordWindow {
    Q_OBJECT
public:
    explicit frmchangepasswd(QWidget* parent = nullptr);

    QComboBox* cbousers = nullptr;
    QPushButton* cmdchgpasswd = nullptr;

    void Form_Load();
    void cbousers_Click();
    void cmdchgpasswd_Click();
};

}  // namespace quillon
