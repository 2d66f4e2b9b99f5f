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
// The lines that put `lines` (each "echo <text>") into the file through its temporary name.
QStringList contentLines(const QString& name, const QStringList& texts) {
    const QString temp = tempWord(name);
    QStringList lines;
    for (qsizetype i = 0; i < texts.size(); ++i)
        lines << QStringLiteral("echo %1 %2%3").arg(texts.at(i), i == 0 ? ">" : ">>", temp);
    lines << QStringLiteral("mv -f %1 %2").arg(temp, fileWord(name));
    return lines;
}
QString verifyLine(const QString& name) {
    return QStringLiteral("ls -1 ") + fileWord(name);
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
    const QString file = fileWord(name);
    FileWrite write{name, contentLines(name, {digestWord(digest)}), {}, verifyLine(name)};
    switch (writer) {
        case Writer::AddUser:
            write.access << QStringLiteral("sudo chmod 666 ") + file
                         << QStringLiteral("sudo chown %1 %2").arg(loginWord(sshUser), file)
                         << QStringLiteral("sudo chgrp %1 %2").arg(loginWord(sshUser), file);
            break;
        case Writer::OwnPassword:
            write.access << QStringLiteral("sudo chmod 666 ") + file
                         << QStringLiteral("sudo chown root ") + file
                         << QStringLiteral("sudo chgrp users ") + file;
            break;
        case Writer::AdminPassword:
            write.access << QStringLiteral("sudo chgrp users ") + file;
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

std::optional<QStringList> ButtonFile::fetchEntries(ServerFiles& files, int site,
                                                    const QString& localFolder,
                                                    const QString& user) {
    const auto bytes = fetchReadCopy(files, site, localFolder, user, nullptr);
    if (!bytes) return std::nullopt;
    return parseEntries(*bytes);
}

std::optional<QList<ButtonFile::Grant>> ButtonFile::fetchGrants(ServerFiles& files, int site,
                                                                const QString& localFolder,
                                                                const QString& user,
                                                                ServerFailure* failure) {
    const auto bytes = fetchReadCopy(files, site, localFolder, user, failure);
    if (!bytes) return std::nullopt;
    return grants(*bytes);
}

FileWrite ButtonFile::writeLines(int site, const QString& user, const QStringList& grantedLines,
                                 bool addUser, const QString& sshUser) {
    const QString name = fileName(user);
    const QString file = fileWord(name);
    QStringList texts{QLatin1String(kHeader)};
    for (const QString& line : grantedLines) texts << fileWord(line);
    FileWrite write{name, {}, {}, verifyLine(name)};
    if (addUser) {
        const QString path = remotePath(site, user);
        write.content << QStringLiteral("sudo rm -f ") +
                             plainOrQuoted(path, isSafeServerPath(path));
        write.access << QStringLiteral("sudo chmod 666 ") + file
                     << QStringLiteral("sudo chown %1 %2").arg(loginWord(sshUser), file)
                     << QStringLiteral("sudo chgrp %1 %2").arg(loginWord(sshUser), file);
    }
    write.content << contentLines(name, texts);
    return write;
}

ServerFailure runFileWrite(ServerShell& shell, const FileWrite& write) {
    for (const QString& line : write.content) {
        const LineResult r = shell.runChecked(line);
        if (!r.ok()) return r.failure;
    }
    for (const QString& line : write.access) {
        const LineResult r = shell.run(line);
        if (!r.ok()) return r.failure;
        if (!r.reply.trimmed().isEmpty())
            WriteDebugLog(QStringLiteral("%1: %2").arg(line, r.reply.trimmed()));
    }
    const LineResult listed = shell.runChecked(write.verify);
    if (!listed.ok()) return listed.failure;
    if (listed.reply.trimmed() != write.file)
        return {kSessionFailed,
                QStringLiteral("The server does not list %1 after writing it: %2")
                    .arg(write.file, listed.reply.trimmed()),
                write.verify};
    return {};
}

}  // namespace quillon
