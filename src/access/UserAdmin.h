#pragma once
// The server work of the user-administration windows, without a window: listing a site's
// users, adding a user, rewriting a user's grants, changing a password and deleting a user.
// Each takes the site and the values and returns what the user is to be told.
#include "access/AccessFiles.h"

#include <QString>
#include <QStringList>

namespace quillon {

struct AdminOutcome {
    enum class Kind {
        Done,     // the work is done and was seen on the server; the window closes
        Refused,  // the server's answer refused it (a taken name, a wrong old password)
        Failed,   // the server could not be reached or a line failed: nothing is claimed
    };
    Kind kind = Kind::Failed;
    QString text;
    int code = 0;  // Failed on the server: the failure's SessionError
    bool done() const { return kind == Kind::Done; }
};

// ---- the user list --------------------------------------------------------------------------

struct UserList {
    QStringList names;    // in the order the server listed them
    QStringList leftOut;  // user files listed under a name not in upper case (alice.USE)
    QString problem;      // why no list could be had; empty when it came
    int code = 0;         // the SessionError of the failure behind the problem
};
// The names of a listing, one file name per line (ALICE.USE): each line less its ".USE". A line
// that is no user file, or whose name isValidUserName refuses ("[A].USE"), is skipped and
// logged: such a name never reaches a shell line. A name not in upper case is no login's (the
// login looks for the upper-case file), and the windows would address it in two spellings: it
// goes to `leftOut`, when given, for the user to be told.
QStringList parseUserList(const QByteArray& listing, QStringList* leftOut = nullptr);
// Why the reply of "ls -1 *.USE > UNAME.TXT" shows that no new list was written (a redirection
// the server refused); empty when it was, also for a folder without users, of which ls
// complains about the pattern alone.
QString userListingProblem(const QString& reply);
// Lists the site's user files into UNAME.TXT on the server and reads the fetched copy,
// usernames.use and usernameunix.use in localFolder (the old copies are deleted first).
UserList listSiteUsers(int site, const QString& localFolder);

// ---- adding a user --------------------------------------------------------------------------

// The name-exists test on the reply of "ls <file>" (the reply after the line's echo): the name
// is free only when the listing says "No such file" of that very name.
bool userNameIsFree(const QString& reply, const QString& file);
// Adds the user: the name-exists test, then the button file with the granted catalogue names
// (in the order given), then the user file with the password's digest, both checked on the
// server. A name isValidUserName refuses is refused before anything is sent. Once the user
// file may have been moved in place, a failure is told as "may not have been added".
AdminOutcome addUser(int site, const QString& typed, const QString& password,
                     const QStringList& grantedNames);

// ---- grants, passwords, deletion ------------------------------------------------------------

// A user's grants for the rights editor, fetched into localFolder (the copies stay). A user
// without a button file has none; any other failure is a problem, so that a save can never
// take away grants that could not be read.
struct GrantsRead {
    QList<ButtonFile::Grant> grants;
    QStringList unshown;  // the file's other lines after the header, to be kept by a save
    QString problem;
    int code = 0;  // the SessionError of the failure behind the problem
};
GrantsRead readGrants(int site, const QString& localFolder, const QString& user);

// Rewrites the user's button file with the header, the granted lines and then the lines the
// editor did not show, in order.
AdminOutcome writeGrants(int site, const QString& user, const QStringList& grantedLines,
                         const QStringList& unshownLines = {});

// The logged-in user's own password: the stored digest is fetched into localFolder and must
// match the old password before the new one is written (owner root, group users, mode 666).
AdminOutcome changeOwnPassword(int site, const QString& localFolder, const QString& user,
                               const QString& oldPassword, const QString& newPassword);
// An administrator's change of any user's password (group users).
AdminOutcome setUserPassword(int site, const QString& localFolder, const QString& user,
                             const QString& newPassword);

// Removes the user's user file and button file, the name as listed. A name whose user file
// the server does not list (a name from a broken listing) is not deleted, and told.
AdminOutcome deleteUser(int site, const QString& user);

}  // namespace quillon
