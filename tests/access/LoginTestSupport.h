#pragma once
// The login window as start-up leaves it, for its tests with the fake and the stand-in server:
// the main window loaded with every menu button off, then the login window with the site list.
#include "access/frmLogin.h"
#include "menu/fMain.h"
#include "widgets/AppControl.h"
#include "widgets/WindowRegistry.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace logintest {

// The 26 menu buttons a button file may grant.
inline const QStringList kMenuButtons = {
    "cmddetail",     "cmdAudit",         "cmdcost",    "cmdstats",    "cmdWatchdog", "cmdcrono",
    "cmdtrunk",      "cmdAreaCode",      "cmdauth",    "cmdcallcalc", "cmdmanager",  "cmddelprint",
    "cmdsynch",      "cmdbringreport",   "cmddelete",  "cmdunlock",   "cmdtestcall", "cmdEdit",
    "cmdbackupmenu", "cmdadduser",       "cmdmoduser", "cmdpasswd",   "cmddeluser",  "cmddatabase",
    "cmdareacodes",  "cmdunusedstations"};

// Every user and button file of the stand-in server's site, by the path it has there.
inline void forEachSimUserFile(const std::function<void(const QString&, const QByteArray&)>& take) {
    for (const char* folder : {"USERS", "BUTTONS"}) {
        const QDir dir(QStringLiteral(QUILLON_SOURCE_DIR "/sim/site/ACL/") + QLatin1String(folder));
        for (const QString& name : dir.entryList(QDir::Files)) {
            QFile f(dir.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            take(QStringLiteral("/usr/varnel/ACL/%1/%2").arg(QLatin1String(folder), name),
                 f.readAll());
        }
    }
}

inline void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class LoginScene {
public:
    // The main window with every menu button off; windows the login opens are recorded.
    void start() {
        quillon::setWindowOpenHook([this](const QString& name) { opened << name; });
        main = quillon::fMain::instance();
        main->disableAllButtons();
    }
    void finish() {
        delete login.data();
        if (quillon::fMain::isLoaded()) quillon::fMain::unloadInstance();
        quillon::setWindowOpenHook(nullptr);
        flushDeletes();
        // endProgram() asks the application to quit, and until an exec() round has run every
        // local event loop returns at once; one short round takes the request back.
        if (quillon::programEndRequested()) {
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
            QCoreApplication::exec();
            quillon::resetProgramEnd();
        }
    }
    void open(const QStringList& sites, int index) {
        login = new quillon::frmLogin(sites);
        login->cboSites->setCurrentIndex(index);
        login->show();
    }
    void attempt(const QString& user, const QString& password) {
        ASSERT_FALSE(login.isNull());
        login->txtUserName->setText(user);
        login->txtPassword->setText(password);
        QTest::mouseClick(login->cmdOK, Qt::LeftButton);
    }
    QStringList enabledMenuButtons() const {
        QStringList on;
        for (const QString& name : kMenuButtons) {
            QPushButton* b = main->commandButton(name);
            if (b && b->isEnabled()) on << name;
        }
        return on;
    }

    QPointer<quillon::fMain> main;
    QPointer<quillon::frmLogin> login;
    QStringList opened;
};

}  // namespace logintest
