#pragma once
// The per-site report script files: the twelve scripts the site editor offers, the templates in
// Default/Bats under the program folder, and the site copies in <site>/Bats made from them.
#include <QString>
#include <QStringList>
#include "common/CommonFunctions.h"

#include <array>

namespace quillon {

// The system's Trim: blanks only, not tabs or line breaks.
QString blankTrimmed(const QString& text);

struct ReportScriptEntry {
    const char* title;     // the entry of the editor's report list
    const char* fileName;  // the script file in the site's Bats folder
};
// The editor's reports, in list order.
const std::array<ReportScriptEntry, 12>& reportScriptEntries();

// A site's values put in for the template placeholders.
struct SiteScriptValues {
    QString site;
    QString sshPort;
    QString ipAddress;
    QString userName;
    QString password;
    QString homeDir;
    QString sshUser;
};

// One template line with its placeholders replaced, in their fixed order, and trimmed of blanks.
// Each replacement works on the result of the one before it, so a value brought in by an early
// placeholder is searched for the later ones only.
QString replaceScriptPlaceholders(const QString& line, const SiteScriptValues& values);

// The folders and files under the program folder (a site's through sitePath: empty for a site
// whose name cannot name a folder).
QString templateScriptFolder();                                        // Default/Bats
QString siteFolder(const QString& site);                               // <site>
QString siteBatsFolder(const QString& site);                           // <site>/Bats
QString siteScriptPath(const QString& site, const QString& fileName);  // <site>/Bats/<file>

// Copies every ".shp" template (ordinary files, not hidden) into the site's Bats folder with the
// placeholders replaced, in file-name order. Copies are created anew with mode 0600, as they hold
// the site's password. Stops at the first template that cannot be read or copy that cannot be
// written and returns the system's description; the copies made so far stay. A missing
// template folder, or one without templates, copies nothing and is no failure.
struct ScriptCopyResult {
    bool ok = true;
    QString error;
    QStringList copied;  // file names, in copy order
};
ScriptCopyResult copySiteScriptFiles(const SiteScriptValues& values);

// Deletes the folder with everything in it, read-only entries included; a link is removed as
// a link, never followed (removeFolderLink). False when something could not be removed (a
// missing folder is no failure).
bool deleteFolderTree(const QString& folder);

// A site folder that the program empties (Bats) may be a symbolic link put in its place. When
// it is, the link itself is removed and the folder is left to be made anew, so nothing is ever
// deleted or written through it and its target stays as it was. True when `folder` is no link
// (any more).
bool removeFolderLink(const QString& folder);

// Reads a script as the editor shows it: each line followed by CR LF. Nullopt-like: false and
// the system's description when the file cannot be read.
bool readScriptForEditing(const QString& path, QString* text, QString* error);
// Writes the edited text back: trimmed of blanks at both ends, CR LF line ends, one CR LF added
// at the end; the file is created anew with mode 0600.
bool saveScriptText(const QString& path, const QString& text, QString* error);

// Replaces the file whole with bytes, readable and writable by the owner only; a write that
// fails leaves the old file as it was.
bool writePrivateFile(const QString& path, const QByteArray& bytes, QString* error);

}  // namespace quillon
