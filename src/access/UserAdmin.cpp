#include "access/UserAdmin.h"

#include "access/AccessFiles.h"
#include "common/CommonFunctions.h"
#include "common/SessionLog.h"
#include "common/SiteTargets.h"
#include "common/TextFormats.h"
#include "remote/FetchFile.h"
#include "remote/ServerSteps.h"
#include "remote/ServerWork.h"
#include "remote/ShellControl.h"

#include <QFile>

#include <memory>
#include <optional>

namespace quillon {

namespace {

AdminOutcome done(const QString& text) {
    return {AdminOutcome::Kind::Done, text};
}
AdminOutcome refused(const QString& text) {
    return {AdminOutcome::Kind::Refused, text};
}
AdminOutcome failed(const QString& what, const ServerFailure& failure) {
    return {AdminOutcome::Kind::Failed, what + kCrLf + kCrLf + maskedDigests(failureText(failure)),
            failure.code};
}

// A shell in the login's start folder. The windows that list or delete send a bare line feed
// first; the writers start straight away once the prompt has come.
std::unique_ptr<ServerShell> openAdminShell(int site, bool bareLineFeed, ServerFailure& failure) {
    std::unique_ptr<ServerShell> shell = ServerWork::instance().openShell(
        shellRequestForSite(site, SiteFolder::Login, kShellControl), failure);
    if (shell && bareLineFeed) {
        if (const LineResult r = shell->run(QString()); !r.ok()) {
            failure = r.failure;
            shell->close();
            return nullptr;
        }
    }
    return shell;
}

// The user file as the transfer login reads it now: proves a written password is in place.
ServerFailure readBackDigest(int site, const QString& localFolder, const QString& user,
                             const QString& digest) {
    ServerFailure failure;
    const std::unique_ptr<ServerFiles> files =
        ServerWork::instance().openFiles(filesRequestForSite(site), failure);
    if (!files) return failure;
    const std::optional<QString> stored =
        UserFile::fetchDigest(*files, site, localFolder, user, &failure);
    files->close();
    UserFile::deleteLocalCopies(localFolder, user);
    if (!stored) return failure;
    if (*stored != digest)
        return {kSessionFailed,
                QStringLiteral("The user file %1 does not hold the new password after writing it.")
                    .arg(UserFile::remotePath(site, user)),
                QString()};
    return {};
}

AdminOutcome writePassword(int site, const QString& localFolder, const QString& user,
                           const QString& newPassword, UserFile::Writer writer) {
    const QString notChanged = QStringLiteral("The password may not have been changed.");
    const QString digest = UserFile::digestOf(newPassword);
    ServerFailure failure;
    const std::unique_ptr<ServerShell> shell = openAdminShell(site, false, failure);
    if (!shell) return failed(QStringLiteral("The password was not changed."), failure);
    if (const LineResult cd =
            changeFolderAsWritten(*shell, UserFile::folder(site) + QLatin1Char('/'));
        !cd.ok()) {
        shell->close();
        return failed(QStringLiteral("The password was not changed."), cd.failure);
    }
    failure = runFileWrite(
        *shell, UserFile::writeLines(user, digest, writer, shellTargetForSite(site).login));
    shell->close();
    if (!failure.ok()) return failed(notChanged, failure);
    if (failure = readBackDigest(site, localFolder, user, digest); !failure.ok())
        return failed(notChanged, failure);
    return done(QStringLiteral("Password Changed"));
}

}  // namespace

// ---- the user list --------------------------------------------------------------------------

QStringList parseUserList(const QByteArray& listing, QStringList* leftOut) {
    QStringList names;
    for (const QString& line : readTextLines(listing)) {
        const QString name = line.chopped(qMin<qsizetype>(4, line.size()));
        if (!line.endsWith(QLatin1String(UserFileKind::suffix)) || !isValidUserName(name)) {
            WriteDebugLog(QStringLiteral("Skipping listed user file that names no user: ") + line);
            continue;
        }
        if (name != userFileStem(name)) {
            WriteDebugLog(QStringLiteral("Skipping listed user file not in upper case: ") + line);
            if (leftOut) *leftOut << line;
            continue;
        }
        names << name;
    }
    return names;
}

QString userListingProblem(const QString& reply) {
    // ls's stderr reaches the reply; with no user at all it names the pattern it found nothing
    // for. Anything else (the shell refusing UNAME.TXT) means the list was not written.
    for (const QString& line : splitTextLines(reply)) {
        if (line.trimmed().isEmpty() || line.contains(QLatin1String("*.USE"))) continue;
        return QStringLiteral("The server could not write the user list: ") + reply.trimmed();
    }
    return QString();
}

UserList listSiteUsers(int site, const QString& localFolder) {
    UserList list;
    const QString folder = UserFile::folder(site);
    const auto fail = [&](const ServerFailure& failure) {
        list.problem = failureText(failure);
        list.code = failure.code;
        return list;
    };
    ServerFailure failure;
    {
        const std::unique_ptr<ServerShell> shell = openAdminShell(site, true, failure);
        if (!shell) return fail(failure);
        // Without the folder change the listing would be of the login's folder.
        if (const LineResult cd = changeFolderAsWritten(*shell, folder); !cd.ok()) {
            shell->close();
            return fail(cd.failure);
        }
        // With no user at all ls says so on its error output and leaves UNAME.TXT empty.
        const QString line = QStringLiteral("ls -1 *.USE > UNAME.TXT");
        const LineResult listed = shell->run(line);
        shell->close();
        if (!listed.ok()) return fail(listed.failure);
        // A list the server did not write would be fetched as it stood before.
        if (const QString problem = userListingProblem(listed.reply); !problem.isEmpty())
            return fail({kSessionFailed, problem, line});
    }

    const QString fetched = localFolder + QStringLiteral("/usernames.use");
    const QString converted = localFolder + QStringLiteral("/usernameunix.use");
    // A list from an earlier opening must never stand in for one that did not come.
    DeleteFileIfExists(fetched);
    DeleteFileIfExists(converted);
    failure = fetchFile(filesRequestForSite(site), folder + QStringLiteral("/UNAME.TXT"), fetched);
    if (!failure.ok()) return fail(failure);
    ConvertUnixFile(fetched, converted);
    QFile in(converted);
    if (!in.open(QIODevice::ReadOnly))
        return fail(
            {kSessionFailed,
             QStringLiteral("The copy %1 of the user list could not be read.").arg(converted),
             QString()});
    list.names = parseUserList(in.readAll(), &list.leftOut);
    return list;
}

// ---- adding a user --------------------------------------------------------------------------

bool userNameIsFree(const QString& reply, const QString& file) {
    QString flat = reply;
    flat.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    return flat.contains(QLatin1String("No such file")) && flat.contains(file);
}

AdminOutcome addUser(int site, const QString& typed, const QString& password,
                     const QStringList& grantedNames) {
    const QString notAdded = QStringLiteral("The user %1 was not added.").arg(typed);
    // The name goes bare into shell lines and names files on the server.
    if (!isValidUserName(typed))
        return {AdminOutcome::Kind::Failed, notAdded + kCrLf + kCrLf + userNameRule()};
    for (const QString& name : grantedNames)
        WriteDebugLog(QStringLiteral("adding ") + name +
                      QStringLiteral("  from lstItemHidden.Text"));
    WriteDebugLog(QStringLiteral("Item in list"));
    const QString sshUser = shellTargetForSite(site).login;

    ServerFailure failure;
    const std::unique_ptr<ServerShell> shell = openAdminShell(site, false, failure);
    if (!shell) return failed(notAdded, failure);
    const auto stop = [&](const ServerFailure& why) {
        shell->close();
        return failed(notAdded, why);
    };
    if (const LineResult cd =
            changeFolderAsWritten(*shell, UserFile::folder(site) + QLatin1Char('/'));
        !cd.ok())
        return stop(cd.failure);
    const QString file = UserFile::fileName(typed);
    const LineResult ls = shell->run(QStringLiteral("ls ") + file);
    if (!ls.ok()) return stop(ls.failure);
    if (!userNameIsFree(ls.reply, file)) {
        shell->close();
        return refused(QStringLiteral("You Need Pick a differnet Username User exists!"));
    }

    // The button file first: a write cut short leaves a button file without a user, never a
    // user without one.
    if (const LineResult cd =
            changeFolderAsWritten(*shell, ButtonFile::folder(site) + QLatin1Char('/'));
        !cd.ok())
        return stop(cd.failure);
    failure =
        runFileWrite(*shell, ButtonFile::writeLines(site, typed, grantedNames, true, sshUser));
    if (!failure.ok()) return stop(failure);
    WriteDebugLog(QStringLiteral("DONE RUNNING REPORT"));

    if (const LineResult cd =
            changeFolderAsWritten(*shell, UserFile::folder(site) + QLatin1Char('/'));
        !cd.ok())
        return stop(cd.failure);
    // Once the user file may be in place the user may be there: a retry would be refused.
    bool mayHaveMoved = false;
    failure = runFileWrite(*shell,
                           UserFile::writeLines(typed, UserFile::digestOf(password),
                                                UserFile::Writer::AddUser, sshUser),
                           &mayHaveMoved);
    if (!failure.ok() && mayHaveMoved) {
        shell->close();
        return failed(QStringLiteral("The user %1 may not have been added.").arg(typed), failure);
    }
    if (!failure.ok()) return stop(failure);
    shell->close();
    return done(QStringLiteral("User ") + typed + QStringLiteral("added."));
}

// ---- grants, passwords, deletion ------------------------------------------------------------

GrantsRead readGrants(int site, const QString& localFolder, const QString& user) {
    GrantsRead read;
    ServerFailure failure;
    const std::unique_ptr<ServerFiles> files =
        ServerWork::instance().openFiles(filesRequestForSite(site), failure);
    if (!files) {
        read.problem = failureText(failure);
        read.code = failure.code;
        return read;
    }
    const auto content = ButtonFile::fetchContent(*files, site, localFolder, user, &failure);
    files->close();
    if (content) {
        read.grants = ButtonFile::grants(*content);
        read.unshown = ButtonFile::unshownLines(*content);
    } else if (failure.text != noSuchRemoteFileText(ButtonFile::remotePath(site, user))) {
        // Only a button file the server does not have means no grants; a copy that could not
        // be written here is no proof of that.
        read.problem = failureText(failure);
        read.code = failure.code;
    }
    return read;
}

AdminOutcome writeGrants(int site, const QString& user, const QStringList& grantedLines,
                         const QStringList& unshownLines) {
    const QString notChanged =
        QStringLiteral("The functions of %1 may not have been changed.").arg(userFileStem(user));
    for (const QString& line : grantedLines)
        WriteDebugLog(QStringLiteral("adding ") + line +
                      QStringLiteral("  from lstItemHidden.Text"));
    WriteDebugLog(QStringLiteral("Item in list"));
    ServerFailure failure;
    const std::unique_ptr<ServerShell> shell = openAdminShell(site, false, failure);
    if (!shell)
        return failed(
            QStringLiteral("The functions of %1 were not changed.").arg(userFileStem(user)),
            failure);
    if (const LineResult cd =
            changeFolderAsWritten(*shell, ButtonFile::folder(site) + QLatin1Char('/'));
        !cd.ok()) {
        shell->close();
        return failed(notChanged, cd.failure);
    }
    failure =
        runFileWrite(*shell, ButtonFile::writeLines(site, user, grantedLines + unshownLines, false,
                                                    QString()));
    shell->close();
    if (!failure.ok()) return failed(notChanged, failure);
    WriteDebugLog(QStringLiteral("DONE RUNNING REPORT"));
    return done(QStringLiteral("USERS SETTINGS MODIFIED"));
}

AdminOutcome changeOwnPassword(int site, const QString& localFolder, const QString& user,
                               const QString& oldPassword, const QString& newPassword) {
    ServerFailure failure;
    {
        const std::unique_ptr<ServerFiles> files =
            ServerWork::instance().openFiles(filesRequestForSite(site), failure);
        if (!files) return failed(QStringLiteral("The password was not changed."), failure);
        const std::optional<QString> stored =
            UserFile::fetchDigest(*files, site, localFolder, user, &failure);
        files->close();
        // Without the stored digest the old password was not checked: that is no refusal.
        if (!stored) return failed(QStringLiteral("The password was not changed."), failure);
        if (!UserFile::passwordMatches(oldPassword, *stored))
            return refused(QStringLiteral("Old password did not match Please Try again"));
    }
    UserFile::deleteLocalCopies(localFolder, user);
    return writePassword(site, localFolder, user, newPassword, UserFile::Writer::OwnPassword);
}

AdminOutcome setUserPassword(int site, const QString& localFolder, const QString& user,
                             const QString& newPassword) {
    return writePassword(site, localFolder, user, newPassword, UserFile::Writer::AdminPassword);
}

AdminOutcome deleteUser(int site, const QString& user) {
    // The files are those of the name as listed.
    const QString& name = user;
    if (!isValidUserName(name))
        return {AdminOutcome::Kind::Failed,
                QStringLiteral("The user %1 was not deleted.").arg(name) + kCrLf + kCrLf +
                    userNameRule()};
    ServerFailure failure;
    const std::unique_ptr<ServerShell> shell = openAdminShell(site, true, failure);
    if (!shell) return failed(QStringLiteral("The user %1 was not deleted.").arg(name), failure);
    // rm -f ends well also for a file that is not there: the user file must be listed first,
    // or a name from a broken listing would be told deleted.
    const QString userFile = name + QLatin1String(UserFileKind::suffix);
    const QString list = QStringLiteral("ls -1 ") + userFile;
    StepsRun listed = runServerSteps(
        *shell, {ServerStep::bareFolder(UserFile::folder(site)), ServerStep::checked(list)});
    if (listed.ok() && listed.reply.trimmed() != userFile)
        listed.failure = {kSessionFailed,
                          QStringLiteral("The server lists no user file %1: %2")
                              .arg(userFile, listed.reply.trimmed()),
                          list};
    if (!listed.ok()) {
        shell->close();
        return failed(QStringLiteral("The user %1 was not deleted.").arg(name), listed.failure);
    }
    // Then rm -f, whose status is the proof that the file is gone.
    const StepsRun removed =
        runServerSteps(*shell, {ServerStep::checked(QStringLiteral("rm -f ") + userFile),
                                ServerStep::bareFolder(ButtonFile::folder(site)),
                                ServerStep::checked(QStringLiteral("rm -f ") + name +
                                                    QLatin1String(ButtonFileKind::suffix))});
    if (!removed.ok()) {
        shell->close();
        return failed(QStringLiteral("The user %1 may not have been deleted.").arg(name),
                      removed.failure);
    }
    shell->close();
    return done(QStringLiteral("User ") + name + QStringLiteral(" has been deleted"));
}

}  // namespace quillon
