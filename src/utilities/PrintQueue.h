#pragma once
// The server's print queue as text: the lines that have the server write its lpq listing, the
// listing read into jobs, and the line that removes one job. No I/O here; frmprintjobs does it.
#include "widgets/SelectionList.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quillon {

// The listing's name on the server, in the shell login's start folder.
inline const QString kPrintListing = QStringLiteral("printjob.rtf");

// rm, lpq into the listing, then the listing given to the shell login (a plain account name,
// checked by the caller) so the file-transfer login can read it.
QStringList printListingLines(const QString& shellLogin);

// The jobs of an lpq listing. The table starts after the first line (trimmed) that begins with
// "Rank" and holds "Job"; the column of "Job" there is where each row's job part starts. A
// job's key is its whole id (the first word of that part), digits only: a row whose id is not a
// number is no job, so a removal can name nothing else. Its text is the job part, at most 26
// characters, trimmed.
QList<SelectionEntry> parsePrintQueue(const QString& listing);

// "sudo lprm <id>"; empty when the id is not digits only.
QString printRemovalLine(const QString& jobId);

}  // namespace quillon
