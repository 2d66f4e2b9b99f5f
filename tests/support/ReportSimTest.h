#pragma once
// A report window's run on the stand-in server, site 1 "North", with the main window loaded on
// that site, as report retrieval needs it. The test program names its request files after a
// computer name of its own: other test programs may use the server's folder at the same time.
#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "menu/fMain.h"
#include "platform/SystemInfo.h"
#include "reports/common/ReportRun.h"
#include "support/Controls.h"
#include "support/RecordingViewer.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>

#include <utility>

namespace testsupport {

class ReportSimTest : public SimTest {
protected:
    explicit ReportSimTest(QString computerName) : m_computerName(std::move(computerName)) {}

    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        ::platform::SystemInfo::setComputerNameOverride(m_computerName);
        SimServer::configureSite(1);
        quillon::G().g_CurSite = 1;
        main = quillon::fMain::instance();
        control<QComboBox>(main, "cboSites")->addItems({"Default", "North"});
        control<QComboBox>(main, "cboSites")->setCurrentIndex(1);
    }
    void TearDown() override {
        if (main) quillon::fMain::unloadInstance();
        quillon::ReportRun::setReportDeadlineSec(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SimTest::TearDown();
    }

    // Where the main window saves a fetched report under `name`.
    QString reportsFile(const QString& name) const {
        return home.file("North/Download/reports/" + name);
    }
    static QByteArray fileBytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    TempHome home;
    // Report names carry the time they were fetched.
    quillon::SettableClock programClock{QDateTime(QDate(2026, 12, 9), QTime(14, 30))};
    ScriptedPrompter prompter;
    RecordingViewer viewer;
    quillon::fMain* main = nullptr;

private:
    QString m_computerName;
};

}  // namespace testsupport
