#pragma once
// The window that requests the watch-dog report over typed phone numbers, with numbers saved per
// site.
#include <QDialog>

namespace quillon {

class fWatchdog : public QDialog {
    Q_OBJECT
public:
    explicit fWatchdog(QWidget* parent = nullptr);
    ~fWatchdog() override;
};

}  // namespace quillon
