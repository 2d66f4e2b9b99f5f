#pragma once
// The windows that list the backups kept on the current site's server: the restore window
// (a row is restored after the user confirms it) and the two ticked lists of the manage menu,
// delete (after a question; what was deleted is checked on the server) and bring back (each
// ticked archive copied to this computer's download/backups folder). Each lists the server
// afresh when it opens; a record that does not name an archive is left out and told.
#include "common/ReentryGuard.h"
#include "maintenance/BackupWork.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace quillon {

class LongWaitCancel;
class ProgressLabel;
class SortableGrid;
class WaitPanel;

class frestore : public QDialog {
    Q_OBJECT
public:
    explicit frestore(QWidget* parent = nullptr);
    ~frestore() override;

    SortableGrid* MSFlexGrid1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* cmdcancel = nullptr;
    WaitPanel* waitpanel = nullptr;  // lblrunning, tmrreport, cmdcancelwait
    ProgressLabel* lblrunning = nullptr;
    LongWaitCancel* cmdcancelwait = nullptr;
    QTimer* tmrreport = nullptr;

    void Form_Load();
    // Restores the grid's current row (Restore and a double click alike).
    void Command1_Click();
    void MSFlexGrid1_DblClick();
    void cmdcancel_Click();
    void cmdcancelwait_Click();

private:
    void setBusy(bool busy);

    BackupWork m_work;
    ReentryGuard m_guard;
};

// What differs between the two ticked lists.
struct TickListSetup {
    QString window;
    QString caption;
    QString hint;
    bool withDiskSpace = false;
};

class BackupTickList : public QDialog {
    Q_OBJECT
public:
    ~BackupTickList() override;

    SortableGrid* MSFlexGrid1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* cmdcancel = nullptr;
    WaitPanel* waitpanel = nullptr;  // lblrunning, tmrreport, cmdcancelwait
    ProgressLabel* lblrunning = nullptr;
    LongWaitCancel* cmdcancelwait = nullptr;
    QTimer* tmrreport = nullptr;

    void Form_Load();
    void Command1_Click();
    void cmdcancel_Click();
    void cmdcancelwait_Click();
    // The archive names of the ticked rows, top to bottom as shown.
    QStringList tickedNames() const;

protected:
    BackupTickList(TickListSetup setup, QWidget* parent);
    // The work on the ticked archives; the message that ends it (told after the form closed).
    virtual QString runOn(const QStringList& names) = 0;
    // Before the work: false ends the click (the deletion's question).
    virtual bool confirmed() { return true; }
    // The disk-space entries of the listing.
    virtual void showDisks(const QList<DiskSpace>& disks) { (void)disks; }

    BackupWork m_work;

private:
    void setBusy(bool busy);

    TickListSetup m_setup;
    ReentryGuard m_guard;
};

class fdeletebackups : public BackupTickList {
    Q_OBJECT
public:
    explicit fdeletebackups(QWidget* parent = nullptr);

    QLabel* Label2 = nullptr;
    QListWidget* lstdiskspace = nullptr;
    QListWidget* lstused = nullptr;

protected:
    QString runOn(const QStringList& names) override;
    bool confirmed() override;
    void showDisks(const QList<DiskSpace>& disks) override;
};

class fbringbackbackups : public BackupTickList {
    Q_OBJECT
public:
    explicit fbringbackbackups(QWidget* parent = nullptr);

protected:
    QString runOn(const QStringList& names) override;
};

}  // namespace quillon
