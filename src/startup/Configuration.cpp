#include "startup/Configuration.h"

#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/Globals.h"
#include "common/Messages.h"
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

// A number as the profile values hold them; nullopt when the text is not numeric.
std::optional<double> numberOf(const QString& value) {
    bool ok = false;
    const double d = value.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    return d;
}

// A whole number, rounded to the nearest (halves to even), kept within the 16-bit range the
// values have always had.
int wholeNumber(double d) {
    return static_cast<int>(std::nearbyint(std::clamp(d, -32768.0, 32767.0)));
}

// One key of a site section: its value, or its default written back when it has none.
QString readSiteKey(const platform::ProfileFile& ini, const QString& section, const QString& key,
                    const char* fallback) {
    QString value = ini.read(section, key);
    if (value.isEmpty()) {
        value = QString::fromLatin1(fallback);
        ini.write(section, key, value);
    }
    return value;
}

void readSite(const platform::ProfileFile& ini, int k, QStringList& names) {
    Globals& g = G();
    const QString section = config::siteSection(k);
    const int i = k - 1;
    names << ini.read(section, config::kName);
    g.g_SiteIPAddress[i] = ini.read(section, config::kIPAddress);
    g.g_SiteTailPbxFile[i] = readSiteKey(ini, section, config::kTailPbxFile, "COLL.LOG");
    g.g_SiteTailPmsFile[i] = readSiteKey(ini, section, config::kTailPmsFile, "pms_trn");
    g.g_SiteTailPbxTimeout[i] = readSiteKey(ini, section, config::kTailPbxTimeout, "0");
    g.g_SiteTailPmsTimeout[i] = readSiteKey(ini, section, config::kTailPmsTimeout, "0");
    g.g_SiteSSHPort[i] = readSiteKey(ini, section, config::kSSHPort, "22");
    // The shell login has a default of its own that is never written to the file.
    g.g_SiteSSHUser[i] = QStringLiteral("varneltail");
    const QString sshUser = ini.read(section, config::kSSHUser);
    if (!sshUser.isEmpty()) g.g_SiteSSHUser[i] = sshUser;
    g.g_SiteTelnetPort[i] = readSiteKey(ini, section, config::kTelnetPort, "23");
    g.g_SiteUsername[i] = readSiteKey(ini, section, config::kUsername, "varnel");
    g.g_SitePassword[i] = readSiteKey(ini, section, config::kPassword, "v");
    g.g_SiteHomedir[i] = readSiteKey(ini, section, config::kHomedir, "/usr/varnel");
}

}  // namespace

bool readExpressSwitch() {
    const platform::ProfileFile ini(configurationFilePath());
    return platform::ProfileFile::isSwitchOn(ini.read(config::kSites, config::kExpress));
}

QString siteNameProblem(const QString& name, int index) {
    if (name.isEmpty()) return QStringLiteral("the site has no name.");
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QStringLiteral("..")) || name == QStringLiteral("."))
        return QStringLiteral(
                   "the name \"%1\" cannot stand as a folder name "
                   "(it holds \"/\", \"\\\" or \"..\").")
            .arg(name);
    if (index > 0 && name.compare(QStringLiteral("Default"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("the name \"%1\" is kept for the default site, the first one.")
            .arg(name);
    return QString();
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

    ini.write(config::kSites, config::kAppVersion, g.g_Version);

    QString value = ini.read(config::kSites, config::kDebugMode);
    g.g_DebugMode = false;
    if (value.isEmpty()) ini.write(config::kSites, config::kDebugMode, QStringLiteral("0"));
    if (platform::ProfileFile::isSwitchOn(value)) {
        g.g_DebugMode = true;
        const QString logs =
            platform::resolveNoCase(platform::SystemInfo::programFolder(), QStringLiteral("Logs"));
        if (!QFileInfo(logs).isDir()) QDir().mkpath(logs);
        OpenDebugLog(logs + QStringLiteral("/Mainlog.log"));
    }

    value = ini.read(config::kSites, config::kUpdateMode);
    g.g_UpdateMode = platform::ProfileFile::isSwitchOn(value);
    if (value.isEmpty()) ini.write(config::kSites, config::kUpdateMode, QStringLiteral("0"));

    g.g_Express = platform::ProfileFile::isSwitchOn(ini.read(config::kSites, config::kExpress));
    g.g_UnusedReport =
        platform::ProfileFile::isSwitchOn(ini.read(config::kSites, config::kUnusedReport));
    g.g_Brevia = platform::ProfileFile::isSwitchOn(ini.read(config::kSites, config::kBrevia));

    value = ini.read(config::kSites, config::kFtpTimeout);
    g.g_FtpTimeout = 90;
    if (value.isEmpty()) {
        ini.write(config::kSites, config::kFtpTimeout, QStringLiteral("90"));
    } else if (const auto n = numberOf(value)) {
        // A time-out below one second would fail every transfer at once.
        const int seconds = static_cast<int>(std::floor(std::min(*n, 32767.0)));
        if (seconds >= 1) g.g_FtpTimeout = seconds;
    }

    const auto last = numberOf(ini.read(config::kSites, config::kLast));
    g.g_LastSite = last ? wholeNumber(*last) : -1;
    WriteDebugLog(QStringLiteral("Last Site is %1").arg(g.g_LastSite));

    const auto num = numberOf(ini.read(config::kSites, config::kNum));
    int count = num ? std::max(0, wholeNumber(*num)) : 0;
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
        readSite(ini, k, result.siteNames);
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

    if (result.siteNames.isEmpty()) {
        g.g_CurSite = -1;
    } else {
        const bool lastFits = g.g_LastSite >= 0 && g.g_LastSite < result.siteNames.size();
        g.g_CurSite = lastFits ? g.g_LastSite : 0;
    }
    return result;
}

}  // namespace quillon
