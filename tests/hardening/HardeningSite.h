#pragma once
// What the hardening suites share: a site folder of their own on the stand-in server (made once
// per test program, so no request or report of theirs lands in the folder other tests use), set
// up as site 1 "North", the current site, in a program folder of each test's own.
#include "access/PasswordWindows.h"
#include "access/frmPermissions.h"
#include "common/Globals.h"
#include "common/SiteContext.h"
#include "platform/SystemInfo.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <memory>

namespace hardening {

// A file's bytes; empty when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One of the two password windows, shown, for `user` (whose user file holds "secret1"): its own
// (the user logged in, the old password typed) or the administrator's (alice logged in, the
// user picked once the window listed it). `change` gets the window's change button.
inline std::unique_ptr<quillon::PasswordWindow> openPasswordWindow(bool own, const QString& user,
                                                                   QPushButton** change) {
    if (own) {
        quillon::G().g_UserName = user;
        auto* p = new quillon::frmpasswd;
        p->show();
        p->txtoldpasswd->setText(QStringLiteral("secret1"));
        *change = p->cmdmodpasswd;
        return std::unique_ptr<quillon::PasswordWindow>(p);
    }
    quillon::G().g_UserName = QStringLiteral("alice");
    auto* p = new quillon::frmchangepasswd;
    p->show();
    p->cbousers->setCurrentIndex(p->cbousers->findText(user));
    *change = p->cmdchgpasswd;
    return std::unique_ptr<quillon::PasswordWindow>(p);
}

// The add-user form (made once the catalogue is filled) filled: the name, the password twice,
// and the Detail Report granted.
inline void fillAddUserForm(quillon::frmPermissions& w, const QString& name,
                            const QString& password) {
    w.txtadduser->setText(name);
    w.txtaddpasswd->setText(password);
    w.txtconfirmpasswd->setText(password);
    const auto detail = w.picker->lstDivision->findItems("01.RPT Detail Report", Qt::MatchExactly);
    EXPECT_EQ(detail.size(), 1);
    if (!detail.isEmpty()) {
        w.picker->lstDivision->setCurrentItem(detail.first());
        QTest::mouseClick(w.picker->cmdadd, Qt::LeftButton);
    }
}

class HardeningSite {
public:
    static constexpr int kIndex = 1;
    static QString name() { return QStringLiteral("North"); }

    // The folder on the server, made on first use; empty when it cannot be made (needs root).
    static const QString& folder() {
        static QTemporaryDir parent;
        static const QString made = [] {
            if (!parent.isValid()) return QString();
            ::chmod(QFile::encodeName(parent.path()).constData(), 0755);
            const QString path = parent.path() + QStringLiteral("/site");
            return testsupport::SimServer::makeSite(path) ? path : QString();
        }();
        return made;
    }
    static QString file(const QString& name) { return folder() + QLatin1Char('/') + name; }
    static QByteArray read(const QString& name) { return fileBytes(file(name)); }
    // Removes the files of earlier cases that match the patterns ("*.todo").
    static void removeFiles(const QStringList& patterns) {
        QDir dir(folder());
        for (const QString& f : dir.entryList(patterns, QDir::Files | QDir::Hidden)) dir.remove(f);
    }
    // A computer name of this program's own, for the names of its files on the server.
    static QString pc() {
        return QStringLiteral("HRD%1").arg(QCoreApplication::applicationPid() % 100000);
    }

    // The server's tables in the folder, written afresh (./do_csv.sh) when missing or when a
    // case left a large one.
    static bool ensureTables() {
        const qint64 size = QFileInfo(file(QStringLiteral("ext.csv"))).size();
        if (size > 0 && size < 100'000) return true;
        return testsupport::SimServer::runAs(testsupport::SimServer::shellUser(),
                                             QStringLiteral("./do_csv.sh"), folder()) == 0;
    }

    // A case's start: the tables there, no request or report of earlier cases, and a journal
    // that holds only what the case makes the server do.
    static bool prepareCase() {
        if (!ensureTables()) return false;
        testsupport::SimServer::clearJournal();
        removeFiles({"*.todo", "*.done", "*.TMP", "*.rep"});
        return true;
    }

    // Site 1 of the site table on the server, the current site; false when no folder.
    bool install() {
        if (folder().isEmpty()) return false;
        platform::SystemInfo::setComputerNameOverride(pc());
        testsupport::SimServer::configureSite(kIndex, folder());
        quillon::G().g_CurSite = kIndex;
        quillon::SiteContext::install(&m_site);
        return true;
    }
    ~HardeningSite() { quillon::SiteContext::install(nullptr); }

private:
    quillon::FixedSite m_site{kIndex, name()};
};

// The start of every case of the suites: the site installed and prepared, a program folder and
// a prompter of the case's own. A case scripts answers for every message its payload or fault
// may bring; which it takes depends on where the run stops, so unused ones are no failure.
class HardeningTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        if (!site.install()) GTEST_SKIP() << "making a site folder needs root";
        prompter.allowUnusedAnswers();
        ASSERT_TRUE(HardeningSite::prepareCase());
        useImmediateAnswer();
    }

    // The suites run with the answerer's immediate answer, not its settling wait, as a server
    // that takes up a request the moment it appears. Set again after every clearKnobs().
    static constexpr const char* kImmediateAnswerKnob = "answer_at_once";
    static void useImmediateAnswer() {
        testsupport::SimServer::setKnob(QString::fromLatin1(kImmediateAnswerKnob));
    }

public:
    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    HardeningSite site;
};

}  // namespace hardening
