#pragma once
// The two small files per user that decide who may log in to a site and which menu buttons
// they get: the user file <USER>.USE (the password's digest) in ACL/USERS and the button file
// <USER>.BUT (the granted buttons) in ACL/BUTTONS of the site's server folder. Names, formats,
// the shell lines that write them, and fetching and reading the local copies, for the login
// and the user-administration windows alike.
#include "common/SiteContext.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

class ServerFiles;
class ServerShell;
struct ServerFailure;

// A user name that may be used at all: it becomes a file name on the server, so only letters,
// digits, '_', '-' and '.', not starting with '.' or '-', and no longer than its files' names
// (the longest, the temporary .<USER>.USE.tmp) allow. Every other name is refused before any
// line reaches the server.
bool isValidUserName(const QString& typed);
// Why a name is refused, for the user.
QString userNameRule();
// The name the user's files are known by: the typed name in upper case.
QString userFileStem(const QString& typed);

// Lines of a text file as the system reads them: ended by CR LF, LF or CR; a last line
// without an end counts too.
QStringList readTextLines(const QByteArray& bytes);

// The shell lines that give a user or button file new content. The content is written whole
// under a temporary name beside the file, given its mode, owner and group, and then moved over
// the file, so a session lost halfway leaves the old file as it was and the transfer login
// never meets the new one with the shell login's umask; the file's final bytes are the
// system's.
struct FileWrite {
    QString file;         // the file's name, as the verify line's reply gives it
    QStringList content;  // checked, first to last: each must succeed
    QStringList access;   // mode, owner and group of the temporary file; their output is logged
    QString move;         // checked: puts the temporary file in place
    QString verify;       // checked: lists the file, whose name must come back
};
// Runs the write in the shell's current folder (the file's own); the first failure, or ok once
// the file is listed on the server. `mayHaveMoved` tells whether the failure came when the move
// may already have run (the file may hold the new content).
ServerFailure runFileWrite(ServerShell& shell, const FileWrite& write,
                           bool* mayHaveMoved = nullptr);

// Where each of the two files lives and what its local copies are called.
struct UserFileKind {
    static constexpr const char* folder = "/ACL/USERS";
    static constexpr const char* suffix = ".USE";
    static constexpr const char* fetched = ".LICU";  // as fetched
    static constexpr const char* read = ".LIC";      // converted to CR LF; the copy that is read
};
struct ButtonFileKind {
    static constexpr const char* folder = "/ACL/BUTTONS";
    static constexpr const char* suffix = ".BUT";
    static constexpr const char* fetched = ".BUTU";
    static constexpr const char* read = ".BUT";
};

// The names both files share; `user` is the name as typed, the files use it in upper case.
template <class Kind>
class AccessFile {
public:
    // "<g_SiteHomedir>/ACL/USERS" (or BUTTONS) of the site, without a trailing "/".
    static QString folder(int site);
    static QString fileName(const QString& user);  // ALICE.USE, ALICE.BUT
    static QString remotePath(int site, const QString& user);
    // In localFolder: ALICE.LICU and ALICE.BUTU as fetched, ALICE.LIC and ALICE.BUT as read.
    static QString fetchedCopy(const QString& localFolder, const QString& user);
    static QString readCopy(const QString& localFolder, const QString& user);
    static void deleteLocalCopies(const QString& localFolder, const QString& user);

protected:
    // Deletes the old local copies, fetches the file and converts it; the read copy's bytes,
    // or nullopt when no copy arrived, with the reason in `failure` when one is given.
    static std::optional<QByteArray> fetchReadCopy(ServerFiles& files, int site,
                                                   const QString& localFolder, const QString& user,
                                                   ServerFailure* failure);
};
extern template class AccessFile<UserFileKind>;
extern template class AccessFile<ButtonFileKind>;

class UserFile : public AccessFile<UserFileKind> {
public:
    // The digest text of a password: MD5 of its Windows-1252 bytes, 32 upper-case hex digits.
    static QString digestOf(const QString& password);
    // The stored digest: the first line of the file, as it stands; "" for an empty file.
    static QString parseDigest(const QByteArray& content);
    // Compared as text, exactly: a lower-case or blank-padded digest never matches.
    static bool passwordMatches(const QString& password, const QString& storedDigest);

    // Deletes the old local copies, fetches the file and reads its digest. nullopt when no copy
    // arrived, with the reason in `failure` when one is given: the password was not checked.
    static std::optional<QString> fetchDigest(ServerFiles& files, int site,
                                              const QString& localFolder, const QString& user,
                                              ServerFailure* failure = nullptr);

    // Who owns a rewritten user file.
    enum class Writer {
        AddUser,        // mode 666, owner and group the site's shell login
        OwnPassword,    // mode 666, owner root, group users
        AdminPassword,  // mode and owner of the file replaced, group users
    };
    // The lines that (re)write the file, to be run in folder(site) + "/".
    static FileWrite writeLines(const QString& user, const QString& digest, Writer writer,
                                const QString& sshUser);
};

class ButtonFile : public AccessFile<ButtonFileKind> {
public:
    static constexpr const char* kHeader = "ENABLED BUTTONS DO NOT REMOVE THIS LINE";

    // Every line less its first three characters (the row digits and the dot), in order; line
    // 1, whatever it holds, is entry 0 and never grants. A line shorter than four characters
    // gives an empty entry, which names no button.
    static QStringList parseEntries(const QByteArray& content);
    // The button names the entries grant (entry 0 left out), without duplicates (compared
    // without regard to case), in file order.
    static QStringList grantedNames(const QStringList& entries);
    // Whether entries grant the control name, compared as a whole without regard to case.
    static bool grants(const QStringList& entries, const QString& controlName);
    // A grant as the rights editor shows it: the catalogue row and the line exactly as read.
    struct Grant {
        int row = 0;
        QString line;
        bool operator==(const Grant&) const = default;
    };
    // The grants of a file for the rights editor: lines whose first two characters are
    // digits. Lines that do not start with a number (the header among them) are skipped
    // quietly; a row outside 1..26, or a line with nothing after the row, is skipped and logged.
    static QList<Grant> grants(const QByteArray& content);
    // The lines after the header that the rights editor does not show (a row outside 1..26,
    // such as "99.cmdexitbackup", a line without a row): a save writes them back after the
    // shown grants, as they stood.
    static QStringList unshownLines(const QByteArray& content);

    // Deletes the old local copies, fetches the file and reads its entries. nullopt when no
    // copy arrived (no grants), with why in `failure` when given. The copies stay; the caller
    // removes them when done.
    static std::optional<QStringList> fetchEntries(ServerFiles& files, int site,
                                                   const QString& localFolder, const QString& user,
                                                   ServerFailure* failure = nullptr);

    // Deletes the old local copies and fetches the file; its bytes, or nullopt when no copy
    // arrived, with the reason in `failure`. The copies stay.
    static std::optional<QByteArray> fetchContent(ServerFiles& files, int site,
                                                  const QString& localFolder, const QString& user,
                                                  ServerFailure* failure);

    // The lines that (re)write the file with the granted lines in the given order, to be run
    // in folder(site) + "/". addUser also removes an old file first and sets mode 666 and the
    // shell login as owner and group; otherwise the file keeps the mode and owner of the one it
    // replaces (666 and the shell login's for a user who had none).
    static FileWrite writeLines(int site, const QString& user, const QStringList& grantedLines,
                                bool addUser, const QString& sshUser);
};

}  // namespace quillon
