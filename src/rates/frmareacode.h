#pragma once
// The area-code menu: "Modify Area Codes" opens the area-code table window, "Add Area Codes"
// the add form, each modally with the hourglass on the menu until it closes.
#include <QDialog>

class QPushButton;

namespace quillon {

class frmareacode : public QDialog {
    Q_OBJECT
public:
    explicit frmareacode(QWidget* parent = nullptr);

    QPushButton* cmdLD = nullptr;
    QPushButton* cmdaddac = nullptr;

    void Form_Load();
    void cmdLD_Click();
    void cmdaddac_Click();

private:
    void open(const QString& window);
};

}  // namespace quillon
