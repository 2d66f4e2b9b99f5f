#include "menu/MainMenu.h"

#include "menu/MonitorPane.h"
#include "menu/fMain.h"
#include "remote/LiveTailSession.h"
#include "widgets/MainWindowPort.h"

#include <QEventLoop>
#include <QTimer>

namespace quillon {

namespace {

class MainMenuPort : public MainWindowPort {
public:
    bool isLoaded() const override { return fMain::isLoaded(); }

    void prepareForLogin() override { fMain::instance()->prepareForLogin(); }

    void showUpdateButton(bool shown) override {
        if (fMain::isLoaded()) fMain::instance()->showUpdateButton(shown);
    }

    QStringList commandButtonNames() const override {
        return fMain::instance()->commandButtonNames();
    }

    void grantButton(const QString& name) override { fMain::instance()->grantButton(name); }

    void showSiteEditorButton() override { fMain::instance()->showSiteEditorButton(); }

    QStringList siteNames() const override {
        return fMain::isLoaded() ? fMain::instance()->siteNames() : QStringList();
    }

    void setSiteNames(const QStringList& names) override { fMain::instance()->setSiteNames(names); }

    void addSiteName(const QString& name) override {
        if (fMain::isLoaded()) fMain::instance()->addSiteName(name);
    }

    void setListIndex(int index) override {
        fMain* main = fMain::instance();
        if (index >= 0)
            main->setListIndex(index);
        else
            main->clearSiteChoice();  // an empty list has no site to switch to
    }

    void showBackupReportsMode(bool on) override { fMain::instance()->showBackupReportsMode(on); }

    // What the connecting window shows and reconnects is the main window's: with none loaded
    // there is nothing to show, and making one here would leave a main window nobody unloads.
    void setConnectedCaption(const QString& text) override {
        if (fMain::isLoaded()) fMain::instance()->setConnectedCaption(text);
    }

    void setDownloadTip(const QString& text) override {
        if (fMain::isLoaded()) fMain::instance()->setDownloadTip(text);
    }

    void reconnectMonitorAndWait(Monitor monitor, int deadlineMs) override {
        if (!fMain::isLoaded()) return;
        fMain* main = fMain::instance();
        MonitorPane& pane = monitor == Monitor::CallLog ? main->callLogPane() : main->pmsPane();
        LiveTailSession* session = pane.session();
        QEventLoop loop;
        bool reported = false;
        QObject::connect(session, &LiveTailSession::connected, &loop, [&] {
            reported = true;
            loop.quit();
        });
        QObject::connect(session, &LiveTailSession::disconnected, &loop, [&] {
            reported = true;
            loop.quit();
        });
        pane.reconnect();
        if (reported || session->isConnected()) return;
        QTimer::singleShot(deadlineMs, &loop, &QEventLoop::quit);
        loop.exec();
    }

    void show() override { fMain::instance()->show(); }
};

}  // namespace

void installMainMenu() {
    static MainMenuPort port;
    MainWindowPort::install(&port);
}

}  // namespace quillon
