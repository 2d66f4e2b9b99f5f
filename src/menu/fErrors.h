#pragma once
// The "Error Report" window: the error files fetched from the server, shown in the viewer,
// removed from the server and kept as dated local copies. Opened modally from the main
// window's error indicator; loading it pulls the files once more.
#include <QDialog>

class QCheckBox;
class QCloseEvent;
class QGroupBox;
class QListWidget;
class QPushButton;

namespace quillon {

class fErrors : public QDialog {
    Q_OBJECT
public:
    explicit fErrors(QWidget* parent = nullptr);
    ~fErrors() override;

    QGroupBox* Frame1 = nullptr;
    QListWidget* File1 = nullptr;
    QCheckBox* chksave = nullptr;
    QPushButton* cmdrmerror = nullptr;
    QPushButton* cmdcancel = nullptr;

    // The window's own pull of the current site's error files (`unusedSite` is not read).
    void geterrorcsvfiles(const QString& unusedSite);

    void Form_Load();
    void Form_Unload();

public slots:
    void File1_DblClick();
    void cmdrmerror_Click();
    void cmdcancel_Click();
    void done(int result) override;

private:
    void refreshList();
    // Asks for the name to keep one copy under; empty when the user gave none.
    QString askSaveName(const QString& entry);

    QString m_folder;
    bool m_unloaded = false;
};

}  // namespace quillon
