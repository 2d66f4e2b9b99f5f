#pragma once
// A new site: the checks of the entry, the local folder tree, the configuration keys, and the
// first-time set-up of its server (access-control folders, owners, modes, default button and
// user files) run line by line in one shell session.
#include "remote/ServerSteps.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace quillon {

// The new site as typed in the editor's boxes.
struct NewSiteEntry {
    QString siteName;  // as typed
    QString ipAddress;
    QString sshPort;
    QString telnetPort;
    QString userName;
    QString password;
    QString homedir;
    QString login;
};

// The name a new site gets: trimmed of blanks, every blank inside then replaced by "_".
QString newSiteName(const QString& typed);
// "Default" in any case: its Bats folder holds the script templates.
bool isReservedSiteName(const QString& name);
// A name that can stand as one folder below the program folder: not empty, not "." or "..",
// no path separators, wildcard, quote or control characters, no blank or dot at its ends.
bool isSafeSiteFolderName(const QString& name);

// The first connection box that cannot go to the server as typed, with a message naming it;
// nullopt when all can. The login and the folder go into sudo lines unquoted, so they must be
// a plain account name and a plain absolute path.
std::optional<QString> newSiteFieldProblem(const NewSiteEntry& entry);
// The first field holding a character without a Windows-1252 code, which neither the
// configuration file nor the server's text can hold: told naming the field.
std::optional<QString> siteTextProblem(const NewSiteEntry& entry);

// Why a new site is not added, and how the user is told.
struct NewSiteRefusal {
    QString text;
    // Found against the configured sites: told once the user has confirmed the site. Otherwise
    // the typed entry is at fault and the user is not asked at all.
    bool afterQuestion = false;
    // Told as a failure to add ("An error occurred adding a Site:"), not as a warning.
    bool failure = false;
};
// Every check of a new site, in the order the user is told them: the typed entry first, then
// the configured sites (`sites`, compared without regard to case, as folder names are), their
// count, and `existingFolder`, the site's folder when one of its name exists already (else
// empty). No refusal: the site can be added.
std::optional<NewSiteRefusal> newSiteRefusal(const NewSiteEntry& entry, const QStringList& sites,
                                             int siteCount, const QString& existingFolder);

// The folders of a new site, relative to its own folder ("" the folder itself), in creation
// order.
QStringList newSiteFolders();
// The site's folder, matched without regard to case, exists already.
bool siteFolderExists(const QString& name);
// Creates the tree and lists the folders made in `created` (full paths, in creation order).
// False with a description at the first folder that cannot be made; the folders made before it
// are removed again, so that a retry does not find the name taken.
bool createSiteFolders(const QString& name, QString* error, QStringList* created);
// Removes the folders that createSiteFolders made, with whatever was put in them since, deepest
// first; a folder it did not make is never touched.
void removeCreatedSiteFolders(const QStringList& created);

// The tail commands of a new site.
QString newSiteTailPbxFile(bool brevia);
QString newSiteTailPmsFile(bool brevia);

// Writes the new site as section Site<siteNumber> and Num := siteNumber, in the fixed key
// order, and keeps the file private. False when a key could not be written.
bool writeNewSiteConfiguration(int siteNumber, const QString& name, const NewSiteEntry& entry,
                               bool brevia);
// Fills site-table entry `index` from the entry, every value trimmed of blanks.
void fillSiteTableEntry(int index, const QString& ip, const NewSiteEntry& entry);
// Keeps KTReports.ini readable by its owner only: it holds the sites' passwords.
void keepConfigurationPrivate();

// The catalogue names the edition grants by default: 1 to 23, 24 and 25 in the Lumbrook
// edition, 26 with the unused-station report. Empty catalogue entries are skipped.
QStringList defaultButtonNames(const std::array<QString, 27>& catalogueNames, bool express,
                               bool unusedReport);
// The default user's password (four digits) and its stored digest.
QString defaultUserPassword();
QString defaultUserDigest();

// The command queue that writes default_buttons: the header line anew, then one line per name.
QStringList buttonFileQueue(const QStringList& names);

// The server set-up on either side of the button file (buttonFileQueue, run line by line between
// them): a bare line that waits for the shell, the access-control folders with their owners and
// modes, then the default user. The folder changes are the set-up's bare "cd"; the sudo lines
// after each work on relative names, so a folder that was not reached stops the set-up.
struct SiteSetupLists {
    QList<ServerStep> beforeButtons;
    QList<ServerStep> afterButtons;
};
SiteSetupLists siteSetupLists(const QString& homedir, const QString& login,
                                  const QString& userDigest);

struct SetupOutcome {
    bool ok = true;
    QString message;  // the description for the user when not ok
    QString failedLine;
};
// Runs the set-up in the shell (runServerSteps), stopping at the first folder change that did
// not arrive and at the first line the session could not run. `queue` is the editor's command
// list; it holds what was not run when the set-up stops inside it.
SetupOutcome runServerSetup(ServerShell& shell, const QString& homedir, const QString& login,
                            const QStringList& buttonNames, QStringList& queue);

}  // namespace quillon
