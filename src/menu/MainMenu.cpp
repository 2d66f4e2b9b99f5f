#include "menu/MainMenu.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "menu/fMain.h"
#include "remote/LiveTailSession.h"
#include "widgets/MainWindowPort.h"

#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>

namespace quillon {

namespace {

class MainMenuPort : public MainWindowPort {
public:
    bool isLoaded() const override { return fMain::isLoaded(); }

    void prepareForLogin() override {
        fMain* main = fMain::instance();
        main->cmdexitbackup->setVisible(false);
        main->lblexitbackup->setVisible(false);
        main->disableAllButtons();
    }

    void showUpdateButton(bool shown) override {
        if (!fMain::isLoaded()) return;
        fMain* main = fMain::instance();
        for (QWidget* w : {static_cast<QWidget*>(main->cmdupdate),
                           static_cast<QWidget*>(main->lblupdate)}) {
            w->setVisible(shown);
            w->setEnabled(shown);
        }
    }

    QStringList commandButtonNames() const override {
        QStringList names;
        for (QPushButton* button : fMain::instance()->findChildren<QPushButton*>())
            if (!button->objectName().isEmpty()) names << button->objectName();
        return names;
    }

    void grantButton(const QString& name) override {
        for (QPushButton* button : fMain::instance()->findChildren<QPushButton*>()) {
            if (button->objectName() != name) continue;
            button->setVisible(true);
            button->setEnabled(true);
        }
    }

    void showSiteEditorButton() override {
        fMain* main = fMain::instance();
        for (QWidget* w :
             {static_cast<QWidget*>(main->cmdEdit), static_cast<QWidget*>(main->lblsites)}) {
            w->setVisible(true);
            w->setEnabled(true);
        }
    }

    QStringList siteNames() const override {
        QStringList names;
        if (!fMain::isLoaded()) return names;
        const QComboBox* box = fMain::instance()->cboSites;
        for (int i = 0; i < box->count(); ++i) names << box->itemText(i);
        return names;
    }

    void setSiteNames(const QStringList& names) override {
        QComboBox* box = fMain::instance()->cboSites;
        box->clear();
        box->addItems(names);
    }

    void addSiteName(const QString& name) override {
        if (!fMain::isLoaded()) return;
        QComboBox* box = fMain::instance()->cboSites;
        // Only the list grows: choosing the new site now would connect to it.
        const QSignalBlocker quiet(box);
        box->addItem(name);
    }

    void setListIndex(int index) override {
        fMain* main = fMain::instance();
        if (index >= 0)
            main->setListIndex(index);
        else
            main->cboSites->setCurrentIndex(-1);  // an empty list has no site to switch to
    }

    void showBackupReportsMode(bool on) override {
        fMain* main = fMain::instance();
        main->SSTab1->setTabText(1,
                                 on ? QStringLiteral("Backup Reports") : QStringLiteral("Reports"));
        main->SSTab1->setCurrentIndex(on ? 1 : 0);
        main->cmdexitbackup->setVisible(on);
        main->lblexitbackup->setVisible(on);
    }

    void setConnectedCaption(const QString& text) override {
        fMain::instance()->Label33->setText(text);
    }

    void setDownloadTip(const QString& text) override {
        fMain::instance()->cmdDload->setToolTip(text);
    }

    void reconnectMonitorAndWait(Monitor monitor, int deadlineMs) override {
        fMain* main = fMain::instance();
        LiveTailSession* fMain::*session = monitor == Monitor::CallLog ? &fMain::sshCOLL
                                                                       : &fMain::sshPMS;
        QEventLoop loop;
        bool reported = false;
        auto watch = [&](LiveTailSession* s) {
            if (!s) return;
            QObject::connect(s, &LiveTailSession::connected, &loop, [&] {
                reported = true;
                loop.quit();
            });
            QObject::connect(s, &LiveTailSession::disconnected, &loop, [&] {
                reported = true;
                loop.quit();
            });
        };
        LiveTailSession* before = main->*session;
        watch(before);
        if (monitor == Monitor::CallLog)
            main->reconnectCallLog();
        else
            main->reconnectPms();
        LiveTailSession* after = main->*session;
        if (after != before) watch(after);
        if (reported || !after || after->isConnected()) return;
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
