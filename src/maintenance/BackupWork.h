#pragma once
// The server work of the backup windows over ServerWork: step lists run in order until one
// fails (its message names what failed), fetches, and the backup list brought to this computer
// once for the three windows that list. A window's Cancel calls cancel() while a step waits.
#include "common/SiteTargets.h"
#include "maintenance/BackupFiles.h"
#include "remote/ServerSteps.h"
#include "remote/ServerWork.h"

#include <QString>

#include <memory>

namespace quillon {

class BackupWork {
public:
    BackupWork() = default;
    ~BackupWork();
    BackupWork(const BackupWork&) = delete;
    BackupWork& operator=(const BackupWork&) = delete;

    // A shell on the current site in that folder (the change of folder is checked).
    ServerFailure openShell(SiteFolder folder);
    // The steps in the open shell (runServerSteps, each failure in the debug log); the first
    // that fails ends the run. `failedStep` gets the index of the step that failed (or was about
    // to run when Cancel came), the number of steps when none did.
    ServerFailure run(const QList<ServerStep>& steps, int* failedStep = nullptr);
    // One line; its reply. A deadline of 0 is the configured line deadline ([Sites] LineTimeout).
    LineResult runLine(const QString& line, int deadlineSec = 0);
    LineResult runCheckedLine(const QString& line, int deadlineSec = 0);
    void closeShell();
    bool shellOpen() const { return m_shell && m_shell->isOpen(); }

    ServerFailure openFiles();
    // remotePath to localPath (a failed fetch leaves nothing at localPath).
    ServerFailure fetch(const QString& remotePath, const QString& localPath, int deadlineSec = 0);
    void closeFiles();

    // While a step or fetch waits (a Cancel button): ends the session; the waiting call
    // returns kSessionCancelled.
    void cancel();
    bool cancelled() const { return m_cancelled; }
    // A new run: not cancelled.
    void begin() { m_cancelled = false; }

private:
    std::unique_ptr<ServerShell> m_shell;
    std::unique_ptr<ServerFiles> m_files;
    bool m_cancelled = false;
};

// The backup list of the current site, made afresh on the server (the listing lines, with the
// disk-space lines when asked) and fetched with diskspace.txt too when asked into the site's
// Download/reports folder as restore.txt (and diskspace.txt), LF ends made CR LF. Both old
// copies are deleted before the server is asked, so a failure leaves none. The failure of the
// listing or its fetch is returned; a missing diskspace.txt is none (the disk lists stay empty).
struct FetchedListing {
    ServerFailure failure;
    BackupListing listing;
    QList<DiskSpace> disks;
};
FetchedListing fetchBackupListing(bool withDiskSpace);

}  // namespace quillon
