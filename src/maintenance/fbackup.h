#pragma once
// Makes one backup of the current site: the server gathers the calls (all, or a date range),
// packs the tables and the call file into an archive in its backup folder, the archive is
// copied to this computer and gets its final name and its info record on the server. The
// archive is found by the name the server gave it, so the two clocks need not agree; every
// step is checked and "BACKUP COMPLETE" comes only when the copy and the record are there.
#include "common/ReentryGuard.h"
#include "maintenance/BackupWork.h"

#include <QDialog>
#include <QString>

#include <array>

class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTimer;

namespace quillon {

class LongWaitCancel;
class ProgressLabel;
class WaitPanel;

class fbackup : public QDialog {
    Q_OBJECT
public:
    explicit fbackup(QWidget* parent = nullptr);
    ~fbackup() override;

    std::array<QRadioButton*, 2> Optdate{};  // 0 "All Calls In the System", 1 "Date Range"
    QDateEdit* startdate = nullptr;
    QDateEdit* enddate = nullptr;
    QLabel* Lblstartdate = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* cmdbackup = nullptr;
    // The progress label, its dots (tmrbackup) and the long-wait Cancel, shown while the
    // backup runs.
    WaitPanel* waitpanel = nullptr;
    ProgressLabel* lblrunning = nullptr;
    LongWaitCancel* cmdcancelwait = nullptr;
    QTimer* tmrbackup = nullptr;
    QListWidget* lstCommands = nullptr;

    // "A" or "P".
    const QString& backupType() const { return m_type; }
    // The call-put command the backup would send now.
    QString callPut() const;

    void Form_Load();
    void Optdate_Click(int index);
    void startdate_Change();
    void cmdbackup_Click();
    void cmdcancelwait_Click();
    void Form_Unload();

    void done(int result) override;

private:
    // The failure of the run, or none.
    ServerFailure backUp(const QString& pc);
    void setRunning(bool running);

    QString m_type;
    QString m_provisional;
    // Where the archive lies on the server once it is there; empty before.
    QString m_archive;
    BackupWork m_work;
    ReentryGuard m_guard;
};

}  // namespace quillon
