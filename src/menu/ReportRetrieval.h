#pragma once
// Report retrieval's own helpers beside the main window's executeBatFileForReport: the fetch of
// one report file and the main window's ExecCmd.
#include "common/SiteTargets.h"

#include <QString>

namespace quillon {

class fMain;

// Fetches remotePath to localPath over one file-transfer session of its own. False, with the
// reason in *error, when the session or the transfer failed; no file is left at localPath then.
bool fetchRemoteFile(const SessionTarget& target, const QString& remotePath,
                     const QString& localPath, QString* error);

// The title of the retrieval's messages.
QString retrievalTitle();

// Text as one word of ExecCmd's command line, whatever blanks or quotes it holds.
QString commandLineWord(const QString& text);

// Runs a local command line and waits for it, with "Running  Report..." and then "Done." in
// the first panel of the main window's status bar.
void ExecCmd(fMain& main, const QString& cmdline);

}  // namespace quillon
