#pragma once
// The window that requests the cost report by extension, department or division.
#include <QDialog>

namespace quillon {

class fcost : public QDialog {
    Q_OBJECT
public:
    explicit fcost(QWidget* parent = nullptr);
    ~fcost() override;
};

}  // namespace quillon
