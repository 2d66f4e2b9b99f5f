#pragma once
// The server work of the print queue window, without a window: reading a site's print queue and
// removing jobs from it. Each takes the site and returns what the user is to be told.
#include "remote/SessionError.h"
#include "widgets/SelectionList.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quillon {

struct PrintQueueRead {
    QList<SelectionEntry> jobs;
    // The local copies of the listing in the site's download folder, for the window to delete
    // when it closes; empty for a site without one.
    QString listing;
    QString rawListing;
    // What the user is told when the queue could not be read; empty when it was (an empty
    // queue too: the server writes no listing for one).
    QString told;
    int code = kSessionOk;  // the SessionError of the session that failed, if one did
};
// Has the server write its lpq listing (printListingLines, in the shell login's folder), then
// fetches it over the old local copies, which go first: a queue that could not be read lists
// nothing, never an old listing.
PrintQueueRead readPrintQueue(int site, const QString& siteName);

struct PrintJobsRemoval {
    QString told;  // what the user is told: empty when every job was removed
    int code = kSessionOk;
};
// Removes the jobs (their listed ids) one checked line each, in one session; a failed removal
// does not stop the others.
PrintJobsRemoval removePrintJobs(int site, const QStringList& jobIds);

}  // namespace quillon
