#pragma once
// The server's own error files: which there are, where their local copies go, the pull that
// fetches them and the removal lines. No widgets here.
#include "common/SiteTargets.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace quillon {

// The five files the server writes in the start folder of the file-transfer login, in the
// order they are fetched.
const QStringList& serverErrorFiles();
// The local copy of a server error file: its name with ".RTF" appended (only so that WordPad
// opens it; the bytes are the server's).
QString errorCopyName(const QString& serverFile);
// The server error file whose copy the entry is ("ERROR.COM.RTF" in any case gives "ERROR.COM");
// empty for any other name, such as a copy the user saved under a name of their own.
QString serverFileOfCopy(const QString& entry);

// The site's local error folder, <program folder>/<site>/Download/ERRORS, found without regard
// to case.
QString errorFolder(const QString& site);
// The files of the folder whose names begin with "error" (in any case), sorted by name without
// regard to case: what the error lists show and count.
QStringList listErrorFiles(const QString& folder);

// "sudo rm -f <file>" for each server error file whose copy is among the entries, in the order
// of the entries, each file once. Entries that are no such copy send nothing: their names are
// the user's, and never reach the server's shell.
QStringList removalLines(const QStringList& entries);

// The proposed name for keeping a copy: "mm-dd-yy_hh-mm_<entry>".
QString savedCopyName(const QDateTime& when, const QString& entry);
// Whether a typed name can be used as a file name in the error folder.
bool isUsableCopyName(const QString& name);

struct ErrorPullResult {
    bool skipped = false;    // another pull was still running; nothing was done
    bool completed = false;  // every file was tried and the session closed normally
    QStringList fetched;     // server names fetched, in order
    QString error;           // why it ended early (connection, lost session, local folder)
    int code = 0;            // the SessionError that ended it early; 0 for a local failure
};

// True while a pull is running: a second pull does not start meanwhile.
bool errorPullRunning();

// The pull: deletes the local copies of the five files, opens one file session (ServerWork),
// fetches each file the server has (a file it lacks leaves no copy), closes it. A lost session
// ends it early; copies fetched so far stay. `log` gets the pull's debug-log lines when given.
ErrorPullResult pullErrorFiles(const FilesRequest& request, const QString& folder,
                               const std::function<void(const QString&)>& log = {});

}  // namespace quillon
