#pragma once
// The server's list of its report files (reports.txt), as the last-reports window has it made,
// fetched and read.
#include <QString>
#include <QStringList>

namespace quillon {

// The shell lines, after the change into the report folder, that rewrite reports.txt there
// with one report file name per line. The shell login gets the file first, so that its own
// redirection may replace it.
QStringList reportListLines(const QString& sshUser);

// A name from the server that may be fetched into the site folder: not empty, and holding
// no "/", "\" or "..".
bool isListedReportName(const QString& name);

// The names of the local (CR LF) reports.txt in file order, less those that may not be listed.
// False when the file cannot be read.
bool readReportList(const QString& path, QStringList* names);

}  // namespace quillon
