#include "startup/frmSplash.h"

#include "common/ButtonCatalogue.h"
#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "platform/FileLookup.h"
#include "platform/Prompter.h"
#include "platform/SystemInfo.h"
#include "startup/Configuration.h"
#include "startup/fSites.h"
#include "widgets/AppControl.h"
#include "widgets/MainWindowPort.h"
#include "widgets/Timers.h"
#include "widgets/WindowRegistry.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

namespace {

void tellMissingConfiguration() {
    tell(QStringLiteral("Unable to find KTREPORTS.INI."), platform::Icon::Critical,
         titles::kVarnelReports);
}

}  // namespace

frmSplash::frmSplash(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmSplash"));
    // Started by main() and again by each log off; nobody else holds it.
    setAttribute(Qt::WA_DeleteOnClose);

    AniGif1 = new QLabel(this);
    AniGif1->setObjectName(QStringLiteral("AniGif1"));
    AniGif1->setAlignment(Qt::AlignCenter);
    AniGif1->setMinimumSize(48, 48);

    lblProductName = new QLabel(programName(false), this);
    lblProductName->setObjectName(QStringLiteral("lblProductName"));
    lblProductName->setAlignment(Qt::AlignCenter);
    QFont big = lblProductName->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    lblProductName->setFont(big);

    lblVersion = new QLabel(QStringLiteral("Version ") + G().g_Version, this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setAlignment(Qt::AlignCenter);

    lblWarning = new QLabel(QStringLiteral("please wait ....."), this);
    lblWarning->setObjectName(QStringLiteral("lblWarning"));
    lblWarning->setAlignment(Qt::AlignCenter);

    SiteList = new QComboBox(this);
    SiteList->setObjectName(QStringLiteral("SiteList"));
    SiteList->setVisible(false);

    tmrSplash = makeTimer(this, QStringLiteral("tmrSplash"), 3000, TimerShot::Single,
                          [this] { tmrSplash_Timer(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AniGif1);
    layout->addWidget(lblProductName);
    layout->addWidget(lblVersion);
    layout->addSpacing(12);
    layout->addWidget(lblWarning);
    layout->addWidget(SiteList);
    setMinimumSize(320, 200);

    Form_Load();
}

frmSplash::~frmSplash() = default;

void frmSplash::Form_Load() {
    tmrSplash->start();
    setWindowTitle(platform::programTitle());
    if (!QFileInfo::exists(configurationFilePath())) {
        m_stopped = true;
        tellMissingConfiguration();
        return;
    }

    Globals& g = G();
    g.g_Express = readExpressSwitch();
    g.g_Version = QStringLiteral("7.0.3");
    platform::setProgramTitle(programName(g.g_Express));
    setWindowTitle(platform::programTitle());
    lblProductName->setText(programName(g.g_Express));
    lblVersion->setText(QStringLiteral("Version ") + g.g_Version);

    tmrSplash->start();
    const QString gif =
        platform::findFileNoCase(platform::SystemInfo::programFolder(), "globe1_14807.gif");
    if (!gif.isEmpty()) {
        m_globe = new QMovie(gif, QByteArray(), this);
        AniGif1->setMovie(m_globe);
        m_globe->start();
    }

    // The main window exists from here on, hidden and with every menu button off, so that the
    // login can turn the granted ones on.
    g.g_BackupReportsMode = false;
    if (MainWindowPort* main = MainWindowPort::instance()) main->prepareForLogin();

    fillButtonCatalogue();
}

void frmSplash::tmrSplash_Timer() {
    tmrSplash->stop();
    if (m_handedOver) return;
    // The load found no KTReports.ini: the start-up stays stopped, even if a file has turned up
    // since, because the main window was never prepared.
    if (m_stopped) {
        tellMissingConfiguration();
        return;
    }

    const StartupConfiguration config = ReadStartupConfiguration();
    for (const StartupNotice& notice : config.notices) {
        WriteDebugLog(notice.text);
        tell(notice.text, notice.icon, notice.title);
    }
    if (!config.fileFound) {
        m_stopped = true;
        return;
    }

    Globals& g = G();
    platform::setProgramTitle(programName(g.g_Express));
    setWindowTitle(platform::programTitle());
    if (MainWindowPort* main = MainWindowPort::instance()) main->showUpdateButton(g.g_UpdateMode);

    SiteList->clear();
    SiteList->addItems(config.siteNames);
    SiteList->setCurrentIndex(g.g_CurSite);

    // Gone while it was read: the start-up stops here, without another message.
    if (!QFileInfo::exists(configurationFilePath())) {
        m_stopped = true;
        return;
    }
    handOver();
}

void frmSplash::handOver() {
    QStringList names;
    for (int i = 0; i < SiteList->count(); ++i) names << SiteList->itemText(i);

    if (G().g_SiteCount != 1) {
        // The login window deletes itself when it is unloaded.
        if (QWidget* login = createWindow(QStringLiteral("frmLogin"), nullptr, names)) {
            m_next = login;
            m_nextSites = login->findChild<QComboBox*>(QStringLiteral("cboSites"));
        }
    } else {
        auto* editor = new fSites;
        editor->setAttribute(Qt::WA_DeleteOnClose);
        editor->show();
        {
            const QSignalBlocker quiet(editor->cboSites);
            editor->cboSites->addItems(names);
        }
        m_next = editor;
        m_nextSites = editor->cboSites;
    }
    if (!m_next) {
        WriteDebugLog(QStringLiteral("No window to hand the site list to"));
        return;
    }
    // The names have moved to the next window.
    SiteList->clear();
    m_handedOver = true;
    Form_Unload();
    // Shown before this window closes, so the program never runs without a visible window.
    m_next->show();
    close();
}

void frmSplash::Form_Unload() {
    if (!m_nextSites) return;
    QComboBox* box = m_nextSites;
    m_nextSites = nullptr;
    // Adding the names selected nothing yet; setting the selection is what the next window
    // answers to, as when its list index is set.
    {
        const QSignalBlocker quiet(box);
        box->setCurrentIndex(-1);
    }
    box->setCurrentIndex(G().g_CurSite);
}

void frmSplash::closeEvent(QCloseEvent* event) {
    tmrSplash->stop();
    event->accept();
    // Closed before any site was handed over (KTReports.ini missing, or the user closed it while
    // it waited): nothing else would ever open, so the program ends with this window.
    if (!m_handedOver) endProgram();
}

}  // namespace quillon
