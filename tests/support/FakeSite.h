#pragma once
// Site 1, "North", of the site table as the current site, for tests of windows that work on a
// site through a fake server: its logins, its server folder /usr/varnel and, for the table
// pulls, the fake server's copy of its 13 tables.
#include "common/Globals.h"
#include "common/SiteContext.h"
#include "common/TableMirror.h"
#include "support/FakeServer.h"

#include <QString>

namespace testsupport {

class FakeSite {
public:
    static constexpr int kIndex = 1;

    FakeSite() {
        quillon::Globals& g = quillon::G();
        g.g_SiteCount = 2;
        g.g_CurSite = kIndex;
        g.g_SiteIPAddress[kIndex] = QStringLiteral("10.0.0.7");
        g.g_SiteSSHPort[kIndex] = QStringLiteral("22");
        g.g_SiteSSHUser[kIndex] = QStringLiteral("varneltail");
        g.g_SiteUsername[kIndex] = QStringLiteral("varnel");
        g.g_SitePassword[kIndex] = QStringLiteral("v");
        g.g_SiteHomedir[kIndex] = folder();
        quillon::SiteContext::install(&m_site);
    }
    ~FakeSite() { quillon::SiteContext::install(nullptr); }
    FakeSite(const FakeSite&) = delete;
    FakeSite& operator=(const FakeSite&) = delete;

    static QString name() { return QStringLiteral("North"); }
    static QString folder() { return QStringLiteral("/usr/varnel"); }
    // The server's table files, so that a pull of the mirror finds all 13.
    static void addServerTables(FakeServer& server) {
        for (const QString& t : quillon::mirrorTables())
            server.addFile(folder() + QLatin1Char('/') + t + QStringLiteral(".csv"),
                           t.toLatin1() + ",1\n");
    }

private:
    quillon::FixedSite m_site{kIndex, name()};
};

}  // namespace testsupport
