#pragma once
// The price-list menu ("Database Manager"), opened after the pricing question: the domestic
// and the international price lists, each opened modally with the hourglass on the menu until
// it closes.
#include <QDialog>

class QLabel;
class QPushButton;

namespace quillon {

class frmDatabase : public QDialog {
    Q_OBJECT
public:
    explicit frmDatabase(QWidget* parent = nullptr);
    ~frmDatabase() override;

    QPushButton* cmdpricing = nullptr;
    QPushButton* cmdCC = nullptr;
    QLabel* lblpricing = nullptr;
    QLabel* lblCC = nullptr;

    void Form_Load();
    void cmdpricing_Click();
    void cmdCC_Click();

private:
    void openList(const QString& window);
};

}  // namespace quillon
