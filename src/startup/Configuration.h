#pragma once
// The reading of KTReports.ini at start-up: the switches of [Sites], the debug log and the site
// table, with every missing site key written back with its default. It fills quillon::G() and
// hands the site names and the messages to show back to the splash window; it touches no
// window itself.
#include "common/CommonFunctions.h"
#include "platform/Prompter.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace quillon {

struct StartupNotice {
    QString text;
    QString title;
    platform::Icon icon = platform::Icon::None;
};

struct StartupConfiguration {
    bool fileFound = false;
    // Site names in configuration order: index k is section Site<k+1>, the site-table index.
    QStringList siteNames;
    // Indices whose name may not name a local folder (siteNameProblem, common/SiteContext.h).
    QList<int> refusedSites;
    // To be shown to the user in this order.
    std::vector<StartupNotice> notices;
};

// Reads the whole configuration in the system's order and fills G(): the switches, the debug
// log (opened when DebugMode is on), g_FtpTimeout, g_LastSite, g_SiteCount, the site table and
// g_CurSite (-1 when no site is configured). A missing file gives one notice and reads nothing.
StartupConfiguration ReadStartupConfiguration();

// The Express switch alone, read when the splash window loads; off when the file is missing.
bool readExpressSwitch();

}  // namespace quillon
