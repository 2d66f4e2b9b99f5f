#pragma once
// Asks whether the Guest or the Admin price lists are to be changed, records the answer in
// g_AdminPricing and opens the price-list menu.
#include <QDialog>

class QLabel;
class QPushButton;

namespace quillon {

class frmquestion : public QDialog {
    Q_OBJECT
public:
    explicit frmquestion(QWidget* parent = nullptr);
    ~frmquestion() override;

    QLabel* lbltxt = nullptr;
    QPushButton* Command1 = nullptr;  // Guest
    QPushButton* Command2 = nullptr;  // Admin

public slots:
    void Command1_Click();
    void Command2_Click();

private:
    void choose(bool admin);
};

}  // namespace quillon
