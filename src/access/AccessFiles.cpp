#include "access/AccessFiles.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/MD5.h"
#include "common/ShellQuote.h"
#include "platform/FileLookup.h"
#include "platform/SystemInfo.h"
#include "platform/TextCodec.h"
#include "remote/RemoteSession.h"

#include <QDir>
#include <QFile>

namespace quillon {

namespace {

QString siteFolder(int site) {
    if (site < 0 || site >= kMaxSites) return QString();
    return G().g_SiteHomedir[site];
}

QByteArray readWholeFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

bool isValidUserName(const QString& typed) {
    return isSafeFileName(typed, 32);
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
std::optional<QByteArray> AccessFile<Kind>::fetchReadCopy(FileTransferSession& sftp, int site,
                                                          const QString& localFolder,
                                                          const QString& user) {
    const QString remote = remotePath(site, user);
    const QString fetched = fetchedCopy(localFolder, user);
    const QString converted = readCopy(localFolder, user);
    deleteLocalCopies(localFolder, user);
    if (!sftp.getFile(fetched, remote))
        WriteDebugLog(QStringLiteral("Could not fetch %1: %2").arg(remote, sftp.errorString()));
    if (!FileExists(fetched)) return std::nullopt;
    ConvertUnixFile(fetched, converted);
    if (!FileExists(converted)) return std::nullopt;
    return readWholeFile(converted);
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

std::optional<QString> UserFile::fetchDigest(FileTransferSession& sftp, int site,
                                             const QString& localFolder, const QString& user) {
    const auto bytes = fetchReadCopy(sftp, site, localFolder, user);
    if (!bytes) return std::nullopt;
    return parseDigest(*bytes);
}

QStringList UserFile::writeLines(const QString& user, const QString& digest, Writer writer,
                                 const QString& sshUser) {
    const QString file = shellQuote(fileName(user));
    QStringList lines;
    lines << QStringLiteral("echo %1 >%2").arg(shellQuote(digest), file);
    switch (writer) {
        case Writer::AddUser:
            lines << QStringLiteral("sudo chmod 666 ") + file
                  << QStringLiteral("sudo chown %1 %2").arg(shellQuote(sshUser), file)
                  << QStringLiteral("sudo chgrp %1 %2").arg(shellQuote(sshUser), file);
            break;
        case Writer::OwnPassword:
            lines << QStringLiteral("sudo chmod 666 ") + file
                  << QStringLiteral("sudo chown root ") + file
                  << QStringLiteral("sudo chgrp users ") + file;
            break;
        case Writer::AdminPassword:
            lines << QStringLiteral("sudo chgrp users ") + file;
            break;
    }
    return lines;
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

QList<int> ButtonFile::grantedRows(const QByteArray& content) {
    QList<int> rows;
    for (const QString& line : readTextLines(content)) {
        const QString digits = line.left(2);
        if (digits.size() != 2 || !digits.at(0).isDigit() || !digits.at(1).isDigit()) continue;
        const int row = digits.toInt();
        if (row >= 1 && row <= kButtonCount) rows << row;
    }
    return rows;
}

std::optional<QStringList> ButtonFile::fetchEntries(FileTransferSession& sftp, int site,
                                                    const QString& localFolder,
                                                    const QString& user) {
    const auto bytes = fetchReadCopy(sftp, site, localFolder, user);
    if (!bytes) return std::nullopt;
    return parseEntries(*bytes);
}

QStringList ButtonFile::writeLines(int site, const QString& user, const QStringList& grantedNames,
                                   bool addUser, const QString& sshUser) {
    const QString file = shellQuote(fileName(user));
    QStringList lines;
    if (addUser) lines << QStringLiteral("sudo rm -f ") + shellQuote(remotePath(site, user));
    lines << QStringLiteral("echo %1 >%2").arg(QLatin1String(kHeader), file);
    for (const QString& name : grantedNames)
        lines << QStringLiteral("echo %1 >>%2").arg(shellQuote(name), file);
    if (addUser) {
        lines << QStringLiteral("sudo chmod 666 ") + file
              << QStringLiteral("sudo chown %1 %2").arg(shellQuote(sshUser), file)
              << QStringLiteral("sudo chgrp %1 %2").arg(shellQuote(sshUser), file);
    }
    return lines;
}

}  // namespace quillon
