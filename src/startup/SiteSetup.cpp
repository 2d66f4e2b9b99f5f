#include "startup/SiteSetup.h"

#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/Globals.h"
#include "common/MD5.h"
#include "common/ShellQuote.h"
#include "common/SiteContext.h"
#include "common/TextFormats.h"
#include "platform/FileLookup.h"
#include "platform/ProfileFile.h"
#include "remote/ServerWork.h"
#include "startup/ReportScripts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillon {

namespace {

// The number the default user's password is made from.
constexpr int kDefaultUserCode = 4817;

const QString kButtonFile = QStringLiteral("default_buttons");

}  // namespace

QString newSiteName(const QString& typed) {
    QString name = blankTrimmed(typed);
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    return name;
}

bool isReservedSiteName(const QString& name) {
    return blankTrimmed(name).compare(QStringLiteral("Default"), Qt::CaseInsensitive) == 0;
}

bool isSafeSiteFolderName(const QString& name) {
    if (name.isEmpty() || name.size() > 100) return false;
    if (name == QLatin1String(".") || name == QLatin1String("..")) return false;
    const QChar first = name.front();
    const QChar last = name.back();
    if (first == QLatin1Char(' ') || last == QLatin1Char(' ') || last == QLatin1Char('.'))
        return false;
    for (const QChar c : name) {
        if (isControlCharacter(c)) return false;
        if (QStringLiteral("/\\:*?\"<>|").contains(c)) return false;
    }
    return true;
}

std::optional<QString> siteTextProblem(const NewSiteEntry& e) {
    const QList<std::pair<QString, const QString*>> fields = {
        {QStringLiteral("Site Name"), &e.siteName},   {QStringLiteral("IP Address"), &e.ipAddress},
        {QStringLiteral("SSH Port"), &e.sshPort},     {QStringLiteral("Telnet Port"), &e.telnetPort},
        {QStringLiteral("User Name"), &e.userName},   {QStringLiteral("Password"), &e.password},
        {QStringLiteral("HomeDir"), &e.homedir},      {QStringLiteral("SSH Login"), &e.login},
    };
    for (const auto& [label, text] : fields)
        if (const QString p = windows1252Problem(label, *text); !p.isEmpty()) return p;
    return std::nullopt;
}

std::optional<QString> newSiteFieldProblem(const NewSiteEntry& e) {
    if (const auto problem = siteTextProblem(e)) return problem;
    if (blankTrimmed(e.ipAddress).isEmpty()) return QStringLiteral("Invalid IP Address.");
    if (!isValidPort(blankTrimmed(e.sshPort)))
        return QStringLiteral(
            "Invalid SSH Port.\r\nThe SSH Port must be a number from 1 to 65535.");
    if (!isSafeServerPath(e.homedir))
        return QStringLiteral(
            "Invalid HomeDir.\r\nThe HomeDir must be an absolute folder on the server, made of "
            "letters, digits and . _ / - only, without \"..\".");
    if (!isPlainAccountName(e.login))
        return QStringLiteral(
            "Invalid SSH Login.\r\nThe SSH Login must be an account name of lower-case letters, "
            "digits and _ . - that starts with a letter or _ (at most 32 characters).");
    return std::nullopt;
}

std::optional<NewSiteRefusal> newSiteRefusal(const NewSiteEntry& entry, const QStringList& sites,
                                             int siteCount, const QString& existingFolder) {
    const auto typed = [](const QString& text) { return NewSiteRefusal{.text = text}; };
    if (blankTrimmed(entry.siteName).isEmpty()) return typed(QStringLiteral("Invalid Site Name."));
    if (blankTrimmed(entry.ipAddress).isEmpty())
        return typed(QStringLiteral("Invalid IP Address."));
    const QString name = newSiteName(entry.siteName);
    if (!isSafeSiteFolderName(name))
        return typed(QStringLiteral("Invalid Site Name.") + kCrLf +
                     QStringLiteral("A site name becomes a folder name: it may not hold / \\ : "
                                    "* ? \" < > | or end in a dot."));
    if (const auto problem = newSiteFieldProblem(entry)) return typed(*problem);

    // Folder names do not tell North_Wing from north_wing, so neither may the site list.
    bool clash = isReservedSiteName(name);
    for (const QString& site : sites) clash = clash || site.compare(name, Qt::CaseInsensitive) == 0;
    if (clash)
        return NewSiteRefusal{.text = QStringLiteral("Site '") + name +
                                      QStringLiteral("' already exists.") + kCrLf +
                                      QStringLiteral("Please choose a different name."),
                              .afterQuestion = true};
    // Both checked before anything is written, so a refused site leaves no trace.
    if (siteCount >= kMaxSites)
        return NewSiteRefusal{
            .text = QStringLiteral("The site list is full: at most %1 sites can be configured.")
                        .arg(kMaxSites),
            .afterQuestion = true,
            .failure = true};
    if (!existingFolder.isEmpty())
        return NewSiteRefusal{
            .text = QStringLiteral("The folder '%1' already exists.").arg(existingFolder),
            .afterQuestion = true,
            .failure = true};
    return std::nullopt;
}

QStringList newSiteFolders() {
    return {QString(), QStringLiteral("Bats"), QStringLiteral("download"),
            QStringLiteral("download/errors"), QStringLiteral("download/reports")};
}

bool siteFolderExists(const QString& name) {
    const QString folder = sitePath(name);
    return !folder.isEmpty() && QFileInfo::exists(folder);
}

bool createSiteFolders(const QString& name, QString* error, QStringList* created) {
    created->clear();
    if (sitePath(name).isEmpty()) {
        if (error) *error = QStringLiteral("The name '%1' cannot name a folder.").arg(name);
        return false;
    }
    for (const QString& relative : newSiteFolders()) {
        const QString path = sitePath(name, relative);
        if (relative.isEmpty() && QFileInfo::exists(path)) {
            if (error) *error = QStringLiteral("The folder '%1' already exists.").arg(path);
            return false;
        }
        if (!QDir().mkdir(path)) {
            if (error) *error = QStringLiteral("The folder '%1' could not be created.").arg(path);
            removeCreatedSiteFolders(*created);
            created->clear();
            return false;
        }
        *created << path;
    }
    return true;
}

void removeCreatedSiteFolders(const QStringList& created) {
    for (auto it = created.crbegin(); it != created.crend(); ++it) deleteFolderTree(*it);
}

QString newSiteTailPbxFile(bool brevia) {
    return brevia ? QStringLiteral("/usr/varnel/logs/kvsn_`date +%m%d`.txt|grep \"IN\"")
                  : QStringLiteral("COLL.LOG");
}

QString newSiteTailPmsFile(bool brevia) {
    return brevia ? QStringLiteral("/usr/varnel/logs/kvsn_`date +%m%d`.txt|grep \"OUT\"")
                  : QStringLiteral("pms_trn");
}

void keepConfigurationPrivate() {
    QFile::setPermissions(configurationFilePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool writeNewSiteConfiguration(int siteNumber, const QString& name, const NewSiteEntry& e,
                               bool brevia) {
    const platform::ProfileFile ini(configurationFilePath());
    const QString section = config::siteSection(siteNumber);
    const QList<std::pair<QString, QString>> keys = {
        {config::kName, name},
        {config::kIPAddress, blankTrimmed(e.ipAddress)},
        {config::kSSHPort, e.sshPort},
        {config::kTelnetPort, e.telnetPort},
        {config::kUserName, e.userName},
        {config::kPassword, e.password},
        {config::kHomedir, e.homedir},
        {config::kSSHUser, e.login},
        {config::kTailPbxFile, newSiteTailPbxFile(brevia)},
        {config::kTailPmsFile, newSiteTailPmsFile(brevia)},
        {config::kTailPbxTimeout, QStringLiteral("0")},
        {config::kTailPmsTimeout, QStringLiteral("0")},
    };
    bool ok = ini.write(config::kSites, config::kNum, siteNumber);
    for (const auto& [key, value] : keys) ok = ini.write(section, key, value) && ok;
    keepConfigurationPrivate();
    return ok;
}

void fillSiteTableEntry(int index, const QString& ip, const NewSiteEntry& e) {
    if (index < 0 || index >= kMaxSites) return;
    Globals& g = G();
    g.g_SiteIPAddress[index] = ip;
    g.g_SiteSSHPort[index] = blankTrimmed(e.sshPort);
    g.g_SiteTelnetPort[index] = blankTrimmed(e.telnetPort);
    g.g_SiteUsername[index] = blankTrimmed(e.userName);
    g.g_SitePassword[index] = blankTrimmed(e.password);
    g.g_SiteHomedir[index] = blankTrimmed(e.homedir);
    g.g_SiteSSHUser[index] = blankTrimmed(e.login);
}

QStringList defaultButtonNames(const std::array<QString, 27>& names, bool express,
                               bool unusedReport) {
    QStringList out;
    auto take = [&](int i) {
        if (!names[i].isEmpty()) out << names[i];
    };
    for (int i = 1; i <= 23; ++i) take(i);
    if (express) {
        take(24);
        take(25);
    }
    if (unusedReport) take(26);
    return out;
}

QString defaultUserPassword() {
    return QStringLiteral("%1").arg(kDefaultUserCode % 10000, 4, 10, QLatin1Char('0'));
}

QString defaultUserDigest() {
    return MD5().DigestStrToHexStr(defaultUserPassword());
}

QStringList buttonFileQueue(const QStringList& names) {
    QStringList queue{QStringLiteral("echo ENABLED BUTTONS DO NOT REMOVE THIS LINE >") +
                      kButtonFile};
    for (const QString& name : names) {
        queue << QStringLiteral("echo ") + name + QStringLiteral(" >>") + kButtonFile;
        WriteDebugLog(QStringLiteral("adding ") + name);
    }
    WriteDebugLog(QStringLiteral("Item in list"));
    return queue;
}

SiteSetupLists siteSetupLists(const QString& homedir, const QString& login,
                                  const QString& userDigest) {
    auto cd = [](const QString& folder) {
        return ServerStep::bareFolder(
            folder, QStringLiteral("The folder '%1' could not be reached on the server; the "
                                   "set-up was stopped there")
                        .arg(folder));
    };
    auto line = [](const QString& text) { return ServerStep::plain(text); };
    const QString buttons = homedir + QStringLiteral("/ACL/BUTTONS/");
    return {
        .beforeButtons =
            {
                line(QString()),
                cd(homedir),
                line(QStringLiteral("sudo mkdir ACL ")),
                line(QStringLiteral("sudo chgrp users ORV* ")),
                line(QStringLiteral("sudo chmod 666 *.db ")),
                line(QStringLiteral("sudo chown root *.db ")),
                line(QStringLiteral("sudo chgrp users *.db ")),
                line(QStringLiteral("sudo chown ") + login + QStringLiteral(" ACL ")),
                line(QStringLiteral("sudo chgrp ") + login + QStringLiteral(" ACL ")),
                cd(QStringLiteral("ACL")),
                line(QStringLiteral("sudo mkdir USERS ")),
                line(QStringLiteral("sudo mkdir BUTTONS ")),
                line(QStringLiteral("sudo chmod 777 BUTTONS USERS ")),
                line(QStringLiteral("sudo chown ") + login + QStringLiteral(" * ")),
                line(QStringLiteral("sudo chgrp ") + login + QStringLiteral(" * ")),
                cd(buttons),
                line(QStringLiteral("sudo chown ") + login + QStringLiteral(" *.BUT ")),
                line(QStringLiteral("sudo chgrp ") + login + QStringLiteral(" *.BUT ")),
                line(QStringLiteral("sudo rm -f ") + buttons + kButtonFile),
            },
        .afterButtons =
            {
                line(QStringLiteral("sudo chmod 666 *.BUT")),
                line(QStringLiteral("sudo chown ") + login + QStringLiteral(" default_buttons")),
                line(QStringLiteral("sudo chgrp ") + login + QStringLiteral(" default_buttons")),
                cd(homedir + QStringLiteral("/ACL/USERS/")),
                line(QStringLiteral("echo ") + userDigest + QStringLiteral(" > default_user")),
                line(QStringLiteral("sudo chown ") + login + QStringLiteral(" * ")),
                line(QStringLiteral("sudo chgrp ") + login + QStringLiteral(" * ")),
                line(QStringLiteral("sudo chmod 666 *.USE ")),
                line(QStringLiteral("sudo chown ") + login + QStringLiteral(" default_user")),
                line(QStringLiteral("sudo chgrp ") + login + QStringLiteral(" default_user")),
            },
    };
}

SetupOutcome runServerSetup(ServerShell& shell, const QString& homedir, const QString& login,
                            const QStringList& buttonNames, QStringList& queue) {
    SetupOutcome out;
    auto fail = [&](const QString& line, const QString& message) {
        out.ok = false;
        out.failedLine = line;
        out.message = message;
        return out;
    };
    // The login and the folder go into the lines as they are: never send anything unsafe.
    if (!isPlainAccountName(login) || !isSafeServerPath(homedir))
        return fail(QString(), QStringLiteral("The SSH Login or the HomeDir is not valid."));
    const SiteSetupLists steps = siteSetupLists(homedir, login, defaultUserDigest());
    if (const StepsRun r = runServerSteps(shell, steps.beforeButtons); !r.ok())
        return fail(r.failure.line, r.failure.text);

    queue = buttonFileQueue(buttonNames);
    QList<ServerStep> buttonLines;
    for (const QString& line : queue) buttonLines << ServerStep::plain(line);
    const StepsRun written = runServerSteps(shell, buttonLines);
    queue = queue.mid(written.failedStep);
    if (!written.ok()) return fail(written.failure.line, written.failure.text);
    WriteDebugLog(QStringLiteral("DONE RUNNING REPORT"));

    if (const StepsRun r = runServerSteps(shell, steps.afterButtons); !r.ok())
        return fail(r.failure.line, r.failure.text);
    return out;
}

}  // namespace quillon
