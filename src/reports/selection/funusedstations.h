#pragma once
// The window that requests the unused-station report by extension, department or division.
#include <QDialog>

namespace quillon {

class funusedstations : public QDialog {
    Q_OBJECT
public:
    explicit funusedstations(QWidget* parent = nullptr);
    ~funusedstations() override;
};

}  // namespace quillon
