#pragma once
// "Delete Users": removes a listed user's user and button files from the current site, after a
// confirmation; the logged-in user cannot be deleted.
#include "access/AdminWidgets.h"

class QComboBox;
class QPushButton;

namespace quillon {

class frmdeluser : public UserAdminWindow {
    Q_OBJECT
public:
    explicit frmdeluser(QWidget* parent = nullptr);

    QComboBox* cbousers = nullptr;
    QPushButton* cmddeleteuser = nullptr;

    void Form_Load();
    void cmddeleteuser_Click();
};

}  // namespace quillon
