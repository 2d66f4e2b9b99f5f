#pragma once
// The process-wide values, under the names the system gives them. One object, reset by
// log off and by tests between cases.
#include <QString>
#include <QStringList>

#include <array>

namespace quillon {

constexpr int kMaxSites = 51;
constexpr int kButtonCount = 26;

struct Globals {
    // Site table: index k holds section Site<k+1>; index 0 is the "Default" entry.
    int g_SiteCount = 0;
    std::array<QString, kMaxSites> g_SiteIPAddress;
    std::array<QString, kMaxSites> g_SiteSSHPort;
    std::array<QString, kMaxSites> g_SiteTelnetPort;
    std::array<QString, kMaxSites> g_SiteUsername;
    std::array<QString, kMaxSites> g_SitePassword;
    std::array<QString, kMaxSites> g_SiteHomedir;
    std::array<QString, kMaxSites> g_SiteSSHUser;
    std::array<QString, kMaxSites> g_SiteTailPbxFile;
    std::array<QString, kMaxSites> g_SiteTailPmsFile;
    std::array<QString, kMaxSites> g_SiteTailPbxTimeout;
    std::array<QString, kMaxSites> g_SiteTailPmsTimeout;

    int g_CurSite = -1;
    int g_LastSite = -1;
    QString g_UserName;
    QString g_Version = QStringLiteral("7.0.3");

    bool g_Express = false;
    bool g_UnusedReport = false;
    bool g_Brevia = false;
    bool g_UpdateMode = false;
    bool g_DebugMode = false;
    QString g_LogPath;
    int g_LogFileNo = 0;
    int g_FtpTimeout = 90;

    // Hand-over values between windows.
    QString g_ParamFileName;
    QString g_ReportFileName;
    int g_SelectedRow = 0;
    bool g_AdminPricing = false;
    bool g_BackupReportsMode = false;
    bool g_PullErrors = false;

    // Live monitors.
    QString g_CallLogState;
    QString g_PmsState;
    QString g_CallLogBuffer;
    QString g_PmsBuffer;

    // Button catalogue, entries 1..26 (index 0 stays empty).
    std::array<QString, kButtonCount + 1> g_ButtonLabels;
    std::array<QString, kButtonCount + 1> g_ButtonNames;
};

Globals& G();
// Back to the values the program starts with.
void resetGlobals();

}  // namespace quillon
