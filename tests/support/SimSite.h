#pragma once
// A site folder of the test's own on the stand-in server, as site 1 "North", the current site,
// so that change requests, their answers and the answerer's table store never touch the
// folder other tests use. Its tables are written once (./do_csv.sh) and pulled into the mirror.
#include "common/Globals.h"
#include "common/SiteContext.h"
#include "remote/TablePull.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace testsupport {

class SimSite {
public:
    static constexpr int kIndex = 1;

    // False when the folder cannot be made (it needs root): the test skips.
    bool make() {
        if (!m_parent.isValid()) return false;
        ::chmod(QFile::encodeName(m_parent.path()).constData(), 0755);
        m_folder = m_parent.path() + QStringLiteral("/site");
        if (!SimServer::makeSite(m_folder)) return false;
        SimServer::configureSite(kIndex, m_folder);
        quillon::G().g_CurSite = kIndex;
        quillon::SiteContext::install(&m_site);
        return true;
    }
    ~SimSite() { quillon::SiteContext::install(nullptr); }

    // ./do_csv.sh on the server and the table pull into the mirror.
    void writeAndPullTables() const {
        ASSERT_EQ(SimServer::runAs(SimServer::shellUser(), QStringLiteral("./do_csv.sh"), m_folder),
                  0);
        const quillon::TableMirrorResult pulled =
            quillon::RefreshSiteTables(name(), quillon::filesRequestForSite(kIndex), m_folder);
        ASSERT_TRUE(pulled.ok) << pulled.error.toStdString();
    }

    static QString name() { return QStringLiteral("North"); }
    const QString& folder() const { return m_folder; }
    QString file(const QString& name) const { return m_folder + QLatin1Char('/') + name; }
    QByteArray read(const QString& name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString& name) const { return QFile::exists(file(name)); }

private:
    QTemporaryDir m_parent;
    QString m_folder;
    quillon::FixedSite m_site{kIndex, name()};
};

// A test against the stand-in server in a site folder of its own, with its own program folder:
// skips where the folder cannot be made; with `pullTables` the folder's tables are written and
// pulled into the mirror first.
class SimSiteTest : public SimTest {
protected:
    explicit SimSiteTest(bool pullTables = true) : m_pull(pullTables) {}
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        if (!site.make()) GTEST_SKIP() << "making a site folder needs root";
        if (m_pull) site.writeAndPullTables();
    }

    TempHome home;
    SimSite site;

private:
    bool m_pull;
};

}  // namespace testsupport
