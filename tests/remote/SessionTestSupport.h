#pragma once
// What the session tests share: tokens of their own, a follower of the server's journal, the
// targets of the stand-in server; the relay that stalls is support/ServerFaults.h.
#include "common/Globals.h"
#include "common/SiteTargets.h"
#include "support/ServerFaults.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <mutex>
#include <thread>

namespace remotetest {

using quillon::SessionTarget;
using testsupport::SimServer;

// Other people's tests may use the server at the same time: lines carry a token of their own.
inline QString token() {
    return QString::number(QRandomGenerator::global()->generate64(), 36);
}

// Follows the server's journal from the moment it is made, so the SHELL lines of a test are
// kept even when another test run clears the journal meanwhile.
class JournalWatch {
public:
    JournalWatch() : thread_([this] { run(); }) {}
    ~JournalWatch() {
        stop_ = true;
        thread_.join();
    }
    // The SHELL lines seen so far that contain `filter`.
    QStringList lines(const QString& filter = QString()) {
        QThread::msleep(30);  // the last line may still be on its way
        std::lock_guard lock(m_);
        QStringList out;
        for (const QString& l : lines_)
            if (l.contains(filter)) out << l;
        return out;
    }
    // Forgets what came so far and follows on from the journal's present end: a test calls it
    // once it holds the server, so lines of a test that held it before are not taken for its own.
    void startHere() {
        skip_ = true;
        while (skip_) QThread::msleep(1);
    }

private:
    void run() {
        const QString path = SimServer::stateDir() + QStringLiteral("/journal");
        qint64 pos = QFileInfo(path).size();
        QByteArray partial;
        while (!stop_) {
            if (skip_) {
                std::lock_guard lock(m_);
                lines_.clear();
                partial.clear();
                pos = QFileInfo(path).size();
                skip_ = false;
            }
            QFile f(path);
            if (f.open(QIODevice::ReadOnly)) {
                if (f.size() < pos) pos = 0;  // cleared
                f.seek(pos);
                partial += f.readAll();
                pos = f.pos();
                qsizetype nl;
                while ((nl = partial.indexOf('\n')) >= 0) {
                    const QString line = QString::fromUtf8(partial.left(nl));
                    partial.remove(0, nl + 1);
                    if (line.startsWith(QStringLiteral("SHELL "))) {
                        std::lock_guard lock(m_);
                        lines_ << line.mid(6);
                    }
                }
            }
            QThread::msleep(3);
        }
    }
    std::mutex m_;
    QStringList lines_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> skip_{false};
    std::thread thread_;
};

inline SessionTarget simShell() {
    return {SimServer::host(), SimServer::port(), SimServer::shellUser(),
            SimServer::shellPassword()};
}
inline SessionTarget simFiles() {
    return {SimServer::host(), SimServer::port(), SimServer::sftpUser(), SimServer::sftpPassword()};
}

using testsupport::closedPort;
using testsupport::foreignHostKeyLine;
using testsupport::StallProxy;

// A test on site 0 of the site table, set up for the stand-in server, in a program folder of its
// own, with the server's journal followed from the start.
class SiteTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        SimServer::configureSite(0);
        quillon::G().g_CurSite = 0;
        journal.startHere();
    }
    testsupport::TempHome home;
    JournalWatch journal;
};

}  // namespace remotetest
