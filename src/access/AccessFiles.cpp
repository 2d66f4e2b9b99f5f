#include "access/AccessFiles.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/MD5.h"
#include "common/ShellQuote.h"
#include "common/SiteContext.h"
#include "platform/FileLookup.h"
#include "platform/SystemInfo.h"
#include "platform/TextCodec.h"
#include "remote/ServerWork.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace quillon {

namespace {

QString siteFolder(int site) {
    if (site < 0 || site >= kMaxSites) return QString();
    return G().g_SiteHomedir[site];
}

// The values of the write lines, each bare when its validator admits it.
QString fileWord(const QString& name) {
    return plainOrQuoted(name, isSafeFileName(name, kMaxServerFileName));
}
QString loginWord(const QString& login) {
    return plainOrQuoted(login, isPlainAccountName(login));
}
// The temporary name a file's new content is written under: hidden, so no listing of user
// files (*.USE) ever shows it, and never a user's own file, as no user name begins with '.'.
QString tempWord(const QString& name) {
    return plainOrQuoted(QLatin1Char('.') + name + QStringLiteral(".tmp"),
                         isSafeFileName(name, kMaxServerFileName));
}
// The lines that put `texts` (each "echo <text>") into the file's temporary name.
QStringList contentLines(const QString& name, const QStringList& texts) {
    const QString temp = tempWord(name);
    QStringList lines;
    for (qsizetype i = 0; i < texts.size(); ++i)
        lines << QStringLiteral("echo %1 %2%3").arg(texts.at(i), i == 0 ? ">" : ">>", temp);
    return lines;
}
// The file's write without its access lines: content into the temporary name, then moved.
FileWrite fileWrite(const QString& name, const QStringList& texts) {
    return {name, contentLines(name, texts), {},
            QStringLiteral("mv -f %1 %2").arg(tempWord(name), fileWord(name)),
            QStringLiteral("ls -1 ") + fileWord(name)};
}
// Mode, owner and group as the given values, on the temporary file.
QStringList accessLines(const QString& name, const QString& owner, const QString& group) {
    const QString temp = tempWord(name);
    return {QStringLiteral("sudo chmod 666 ") + temp,
            QStringLiteral("sudo chown %1 %2").arg(owner, temp),
            QStringLiteral("sudo chgrp %1 %2").arg(group, temp)};
}
// Mode and owner (and group) of the file being replaced, on the temporary file. 666 first, so
// that a file that was not there yet still becomes one the transfer login can read.
QStringList keptAccessLines(const QString& name) {
    const QString temp = tempWord(name);
    const QString reference = QStringLiteral("--reference=") + fileWord(name);
    return {QStringLiteral("sudo chmod 666 ") + temp,
            QStringLiteral("sudo chmod %1 %2").arg(reference, temp),
            QStringLiteral("sudo chown %1 %2").arg(reference, temp)};
}
QString digestWord(const QString& digest) {
    static const QRegularExpression hex(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9A-F]{32}")));
    return plainOrQuoted(digest, hex.match(digest).hasMatch());
}

QByteArray readWholeFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

bool isValidUserName(const QString& typed) {
    // The longest of the names made from it is the temporary one, .<USER>.USE.tmp.
    return isSafeFileName(
        typed,
        kMaxServerFileName - int(qstrlen(".") + qstrlen(UserFileKind::suffix) + qstrlen(".tmp")));
}

QString userNameRule() {
    return QStringLiteral(
        "The user name may hold only the letters A to Z, digits, '_', '-' and '.', and may not "
        "begin with '.' or '-'.");
}

QString userFileStem(const QString& typed) {
    return typed.toUpper();
}

QStringList readTextLines(const QByteArray& bytes) {
    return splitTextLines(platform::fromCp1252(bytes));
}

// ---- names and fetching, alike for both files ----------------------------------------------

template <class Kind>
QString AccessFile<Kind>::folder(int site) {
    return siteFolder(site) + QLatin1String(Kind::folder);
}

template <class Kind>
QString AccessFile<Kind>::fileName(const QString& user) {
    return userFileStem(user) + QLatin1String(Kind::suffix);
}

template <class Kind>
QString AccessFile<Kind>::remotePath(int site, const QString& user) {
    return folder(site) + QLatin1Char('/') + fileName(user);
}

template <class Kind>
QString AccessFile<Kind>::fetchedCopy(const QString& localFolder, const QString& user) {
    return localFolder + QLatin1Char('/') + userFileStem(user) + QLatin1String(Kind::fetched);
}

template <class Kind>
QString AccessFile<Kind>::readCopy(const QString& localFolder, const QString& user) {
    return localFolder + QLatin1Char('/') + userFileStem(user) + QLatin1String(Kind::read);
}

template <class Kind>
void AccessFile<Kind>::deleteLocalCopies(const QString& localFolder, const QString& user) {
    DeleteFileIfExists(fetchedCopy(localFolder, user));
    DeleteFileIfExists(readCopy(localFolder, user));
}

// Old copies go first, so a failed fetch can never be answered from an earlier one.
template <class Kind>
std::optional<QByteArray> AccessFile<Kind>::fetchReadCopy(ServerFiles& files, int site,
                                                          const QString& localFolder,
                                                          const QString& user,
                                                          ServerFailure* failure) {
    const QString remote = remotePath(site, user);
    const QString fetched = fetchedCopy(localFolder, user);
    const QString converted = readCopy(localFolder, user);
    deleteLocalCopies(localFolder, user);
    ServerFailure why = files.fetch(remote, fetched);
    if (!why.ok()) WriteDebugLog(QStringLiteral("Could not fetch %1: %2").arg(remote, why.text));
    std::optional<QByteArray> bytes;
    if (FileExists(fetched)) {
        ConvertUnixFile(fetched, converted);
        if (FileExists(converted)) bytes = readWholeFile(converted);
    }
    if (!bytes && why.ok())
        why = {kSessionFailed,
               QStringLiteral("The copy %1 of %2 could not be written.").arg(converted, remote),
               QString()};
    if (failure) *failure = bytes ? ServerFailure{} : why;
    return bytes;
}

template class AccessFile<UserFileKind>;
template class AccessFile<ButtonFileKind>;

// ---- user file ------------------------------------------------------------------------------

QString UserFile::digestOf(const QString& password) {
    MD5 md5;
    return md5.DigestStrToHexStr(password);
}

QString UserFile::parseDigest(const QByteArray& content) {
    const QStringList lines = readTextLines(content);
    return lines.isEmpty() ? QString() : lines.first();
}

bool UserFile::passwordMatches(const QString& password, const QString& storedDigest) {
    return digestOf(password) == storedDigest;
}

std::optional<QString> UserFile::fetchDigest(ServerFiles& files, int site,
                                             const QString& localFolder, const QString& user,
                                             ServerFailure* failure) {
    const auto bytes = fetchReadCopy(files, site, localFolder, user, failure);
    if (!bytes) return std::nullopt;
    return parseDigest(*bytes);
}

FileWrite UserFile::writeLines(const QString& user, const QString& digest, Writer writer,
                               const QString& sshUser) {
    const QString name = fileName(user);
    FileWrite write = fileWrite(name, {digestWord(digest)});
    switch (writer) {
        case Writer::AddUser:
            write.access = accessLines(name, loginWord(sshUser), loginWord(sshUser));
            break;
        case Writer::OwnPassword:
            write.access = accessLines(name, QStringLiteral("root"), QStringLiteral("users"));
            break;
        case Writer::AdminPassword:
            write.access = keptAccessLines(name)
                           << QStringLiteral("sudo chgrp users ") + tempWord(name);
            break;
    }
    return write;
}

// ---- button file ----------------------------------------------------------------------------

QStringList ButtonFile::parseEntries(const QByteArray& content) {
    QStringList entries;
    for (const QString& line : readTextLines(content)) entries << line.mid(3);
    return entries;
}

QStringList ButtonFile::grantedNames(const QStringList& entries) {
    QStringList names;
    for (qsizetype i = 1; i < entries.size(); ++i) {
        const QString& name = entries.at(i);
        if (name.isEmpty() || names.contains(name, Qt::CaseInsensitive)) continue;
        names << name;
    }
    return names;
}

bool ButtonFile::grants(const QStringList& entries, const QString& controlName) {
    if (controlName.isEmpty()) return false;
    for (qsizetype i = 1; i < entries.size(); ++i)
        if (entries.at(i).compare(controlName, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QList<ButtonFile::Grant> ButtonFile::grants(const QByteArray& content) {
    QList<Grant> out;
    for (const QString& line : readTextLines(content)) {
        const QString digits = line.left(2);
        if (digits.size() != 2 || !digits.at(0).isDigit() || !digits.at(1).isDigit()) continue;
        const int row = digits.toInt();
        if (row < 1 || row > kButtonCount || line.size() < 4) {
            WriteDebugLog(QStringLiteral("Skipping button line that names no function: ") + line);
            continue;
        }
        out << Grant{row, line};
    }
    return out;
}

QStringList ButtonFile::unshownLines(const QByteArray& content) {
    const QList<Grant> shown = grants(content);
    QStringList lines = readTextLines(content);
    if (!lines.isEmpty()) lines.removeFirst();  // the header's place
    QStringList unshown;
    for (const QString& line : lines) {
        const bool isShown = std::any_of(shown.begin(), shown.end(),
                                         [&line](const Grant& g) { return g.line == line; });
        if (!isShown) unshown << line;
    }
    return unshown;
}

std::optional<QStringList> ButtonFile::fetchEntries(ServerFiles& files, int site,
                                                    const QString& localFolder,
                                                    const QString& user, ServerFailure* failure) {
    const auto bytes = fetchReadCopy(files, site, localFolder, user, failure);
    if (!bytes) return std::nullopt;
    return parseEntries(*bytes);
}

std::optional<QByteArray> ButtonFile::fetchContent(ServerFiles& files, int site,
                                                   const QString& localFolder,
                                                   const QString& user, ServerFailure* failure) {
    return fetchReadCopy(files, site, localFolder, user, failure);
}

FileWrite ButtonFile::writeLines(int site, const QString& user, const QStringList& grantedLines,
                                 bool addUser, const QString& sshUser) {
    const QString name = fileName(user);
    QStringList texts{QLatin1String(kHeader)};
    for (const QString& line : grantedLines) texts << fileWord(line);
    FileWrite write = fileWrite(name, texts);
    if (addUser) {
        const QString path = remotePath(site, user);
        write.content.prepend(QStringLiteral("sudo rm -f ") +
                              plainOrQuoted(path, isSafeServerPath(path)));
        write.access = accessLines(name, loginWord(sshUser), loginWord(sshUser));
    } else {
        write.access = keptAccessLines(name);
    }
    return write;
}

ServerFailure runFileWrite(ServerShell& shell, const FileWrite& write, bool* mayHaveMoved) {
    bool moved = false;
    const auto fail = [&](const ServerFailure& failure) {
        if (mayHaveMoved) *mayHaveMoved = moved;
        return failure;
    };
    for (const QString& line : write.content) {
        const LineResult r = shell.runChecked(line);
        if (!r.ok()) return fail(r.failure);
    }
    for (const QString& line : write.access) {
        const LineResult r = shell.run(line);
        if (!r.ok()) return fail(r.failure);
        if (!r.reply.trimmed().isEmpty())
            WriteDebugLog(QStringLiteral("%1: %2").arg(line, r.reply.trimmed()));
    }
    const LineResult mv = shell.runChecked(write.move);
    // Only a move that ended with a failing status surely left the old file.
    moved = !mv.status || *mv.status == 0;
    if (!mv.ok()) return fail(mv.failure);
    const LineResult listed = shell.runChecked(write.verify);
    if (!listed.ok()) return fail(listed.failure);
    if (listed.reply.trimmed() != write.file)
        return fail({kSessionFailed,
                     QStringLiteral("The server does not list %1 after writing it: %2")
                         .arg(write.file, listed.reply.trimmed()),
                     write.verify});
    return {};
}

}  // namespace quillon
