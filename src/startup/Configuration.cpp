#include "startup/Configuration.h"

#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/SiteContext.h"
#include "platform/FileLookup.h"
#include "platform/ProfileFile.h"
#include "platform/SystemInfo.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <optional>

namespace quillon {

namespace {

// Writes the defaults of missing keys back to the file. A key that cannot be written is
// noted, so that the reading can tell it once for all keys.
class DefaultWriter {
public:
    explicit DefaultWriter(const platform::ProfileFile& ini) : m_ini(ini) {}
    void write(const QString& section, const QString& key, const QString& value) {
        if (!m_ini.write(section, key, value))
            m_unwritten << QStringLiteral("[%1] %2").arg(section, key);
    }
    // One key of a site section: its value, or its default written back when it has none.
    QString siteKey(const QString& section, const QString& key, const char* fallback) {
        QString value = m_ini.read(section, key);
        if (value.isEmpty()) {
            value = QString::fromLatin1(fallback);
            write(section, key, value);
        }
        return value;
    }
    // One notice for every key that could not be written; none when all were.
    std::optional<StartupNotice> notice() const {
        if (m_unwritten.isEmpty()) return std::nullopt;
        constexpr int kNamed = 5;
        QString keys = m_unwritten.mid(0, kNamed).join(QStringLiteral(", "));
        if (m_unwritten.size() > kNamed)
            keys += QStringLiteral(" and %1 more").arg(m_unwritten.size() - kNamed);
        return StartupNotice{
            QStringLiteral("KTREPORTS.INI could not be written, so the settings it lacks were "
                           "not added to it: %1. Their default values are used until the file "
                           "can be written.")
                .arg(keys),
            titles::kVarnelReports, platform::Icon::Exclamation};
    }

private:
    const platform::ProfileFile& m_ini;
    QStringList m_unwritten;
};

void readSite(const platform::ProfileFile& ini, DefaultWriter& defaults, int k,
              QStringList& names) {
    Globals& g = G();
    const QString section = config::siteSection(k);
    const int i = k - 1;
    names << ini.read(section, config::kName);
    g.g_SiteIPAddress[i] = ini.read(section, config::kIPAddress);
    g.g_SiteTailPbxFile[i] = defaults.siteKey(section, config::kTailPbxFile, "COLL.LOG");
    g.g_SiteTailPmsFile[i] = defaults.siteKey(section, config::kTailPmsFile, "pms_trn");
    g.g_SiteTailPbxTimeout[i] = defaults.siteKey(section, config::kTailPbxTimeout, "0");
    g.g_SiteTailPmsTimeout[i] = defaults.siteKey(section, config::kTailPmsTimeout, "0");
    g.g_SiteSSHPort[i] = defaults.siteKey(section, config::kSSHPort, "22");
    // The shell login has a default of its own that is never written to the file.
    g.g_SiteSSHUser[i] = QStringLiteral("varneltail");
    const QString sshUser = ini.read(section, config::kSSHUser);
    if (!sshUser.isEmpty()) g.g_SiteSSHUser[i] = sshUser;
    g.g_SiteTelnetPort[i] = defaults.siteKey(section, config::kTelnetPort, "23");
    g.g_SiteUsername[i] = defaults.siteKey(section, config::kUsername, "varnel");
    g.g_SitePassword[i] = defaults.siteKey(section, config::kPassword, "v");
    g.g_SiteHomedir[i] = defaults.siteKey(section, config::kHomedir, "/usr/varnel");
}

}  // namespace

bool readExpressSwitch() {
    const platform::ProfileFile ini(configurationFilePath());
    return platform::ProfileFile::isSwitchOn(ini.read(config::kSites, config::kExpress));
}

StartupConfiguration ReadStartupConfiguration() {
    StartupConfiguration result;
    Globals& g = G();
    const platform::ProfileFile ini(configurationFilePath());
    if (!ini.exists()) {
        result.notices.push_back({QStringLiteral("Unable to find KTREPORTS.INI."),
                                  titles::kVarnelReports, platform::Icon::Critical});
        return result;
    }
    result.fileFound = true;
    DefaultWriter defaults(ini);

    ini.write(config::kSites, config::kAppVersion, g.g_Version);

    QString value = ini.read(config::kSites, config::kDebugMode);
    g.g_DebugMode = false;
    if (value.isEmpty()) defaults.write(config::kSites, config::kDebugMode, QStringLiteral("0"));
    if (platform::ProfileFile::isSwitchOn(value)) {
        g.g_DebugMode = true;
        const QString logs =
            platform::resolveNoCase(platform::SystemInfo::programFolder(), QStringLiteral("Logs"));
        if (!QFileInfo(logs).isDir()) QDir().mkpath(logs);
        OpenDebugLog(logs + QStringLiteral("/Mainlog.log"));
    }

    value = ini.read(config::kSites, config::kUpdateMode);
    g.g_UpdateMode = platform::ProfileFile::isSwitchOn(value);
    if (value.isEmpty()) defaults.write(config::kSites, config::kUpdateMode, QStringLiteral("0"));

    g.g_Express = platform::ProfileFile::isSwitchOn(ini.read(config::kSites, config::kExpress));
    g.g_UnusedReport =
        platform::ProfileFile::isSwitchOn(ini.read(config::kSites, config::kUnusedReport));
    g.g_Brevia = platform::ProfileFile::isSwitchOn(ini.read(config::kSites, config::kBrevia));

    value = ini.read(config::kSites, config::kFtpTimeout);
    g.g_FtpTimeout = 90;
    if (value.isEmpty()) {
        defaults.write(config::kSites, config::kFtpTimeout, QStringLiteral("90"));
    } else if (const auto n = platform::ProfileFile::number(value)) {
        // A time-out below one second would fail every transfer at once.
        const int seconds = static_cast<int>(std::floor(std::min(*n, 32767.0)));
        if (seconds >= 1) g.g_FtpTimeout = seconds;
    }

    const auto last = platform::ProfileFile::wholeNumber(ini.read(config::kSites, config::kLast));
    g.g_LastSite = last.value_or(-1);
    WriteDebugLog(QStringLiteral("Last Site is %1").arg(g.g_LastSite));

    const auto num = platform::ProfileFile::wholeNumber(ini.read(config::kSites, config::kNum));
    int count = std::max(0, num.value_or(0));
    if (count > kMaxSites) {
        result.notices.push_back(
            {QStringLiteral("KTREPORTS.INI lists %1 sites, but only %2 sites can be used. "
                            "The first %2 sites are read; the others are left out.")
                 .arg(count)
                 .arg(kMaxSites),
             titles::kVarnelReports, platform::Icon::Exclamation});
        count = kMaxSites;
    }
    g.g_SiteCount = count;

    for (int k = 1; k <= count; ++k) {
        readSite(ini, defaults, k, result.siteNames);
        const QString problem = siteNameProblem(result.siteNames.last(), k - 1);
        if (!problem.isEmpty()) {
            result.refusedSites << k - 1;
            result.notices.push_back(
                {QStringLiteral("Site%1 in KTREPORTS.INI cannot be used: %2 "
                                "Its folder is left alone and it cannot be connected until "
                                "its name is changed.")
                     .arg(k)
                     .arg(problem),
                 titles::kVarnelReports, platform::Icon::Exclamation});
        }
    }

    if (const auto notice = defaults.notice()) result.notices.push_back(*notice);

    if (result.siteNames.isEmpty()) {
        g.g_CurSite = -1;
    } else {
        const bool lastFits = g.g_LastSite >= 0 && g.g_LastSite < result.siteNames.size();
        g.g_CurSite = lastFits ? g.g_LastSite : 0;
    }
    return result;
}

}  // namespace quillon
