#pragma once
// "Modify Users Permissions": shows the grants of a user of the current site in the picker and
// writes the user's button file anew.
#include "access/AdminWidgets.h"

#include <QStringList>

class QComboBox;
class QPushButton;

namespace quillon {

class frmmodusers : public UserAdminWindow {
    Q_OBJECT
public:
    explicit frmmodusers(QWidget* parent = nullptr);

    QComboBox* cbousers = nullptr;
    ButtonPicker* picker = nullptr;
    QPushButton* cmdmoduser = nullptr;

    void Form_Load();
    void loadButtons();
    void cbousers_Click();
    void cmdmoduser_Click();

private:
    // The user whose grants the picker shows; empty before a pick or after a failed read.
    QString m_shown;
    // The lines of its button file the picker does not show; a save keeps them.
    QStringList m_unshown;
};

}  // namespace quillon
