#include "menu/fMain.h"

#include "remote/ServerWaits.h"

#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/ReentryGuard.h"
#include "common/ProgramClock.h"
#include "common/TextFormats.h"
#include "menu/ErrorFiles.h"
#include "menu/ErrorIndicator.h"
#include "menu/ExecCmd.h"
#include "menu/MenuButtons.h"
#include "menu/MonitorPane.h"
#include "menu/ServerUtilities.h"
#include "platform/DocumentViewer.h"
#include "platform/FileLookup.h"
#include "platform/ProfileFile.h"
#include "platform/Prompter.h"
#include "platform/SystemInfo.h"
#include "reports/common/ReportTable.h"
#include "widgets/AppControl.h"
#include "widgets/BusyPointer.h"
#include "widgets/WindowRegistry.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>

namespace quillon {

namespace {

fMain* g_instance = nullptr;

// Clicks that come while the same utility still waits for the server are dropped. The guards
// outlive a main window that log off destroys during the wait.
ReentryGuard g_sync;
ReentryGuard g_unlock;

}  // namespace

// --- the one window ---------------------------------------------------------------------

fMain* fMain::instance() {
    if (!g_instance) {
        g_instance = new fMain;
        g_instance->Form_Load();
    }
    return g_instance;
}

bool fMain::isLoaded() {
    return g_instance != nullptr;
}

void fMain::unloadInstance() {
    fMain* w = g_instance;
    if (!w) return;
    g_instance = nullptr;
    w->m_unloaded = true;
    w->Form_Unload();
    w->hide();
    // Usually called from one of the window's own handlers, which still runs.
    w->deleteLater();
}

fMain::fMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("fMain"));
    buildWindow();
    SiteContext::install(&m_site);
    connect(&ServerWaits::instance(), &ServerWaits::changed, this, &fMain::serverWaitChanged);
}

void fMain::serverWaitChanged(bool waiting) {
    // While a wait serves events the menu takes no clicks: a second operation or a log off
    // would start under (or tear down) the code that waits.
    SSTab1->setEnabled(!waiting);
    cboSites->setEnabled(!waiting);
    if (waiting)
        m_waitPointer.emplace(this);
    else
        m_waitPointer.reset();
}

bool fMain::refusedWhileWaiting() const {
    if (!ServerWaits::instance().waiting()) return false;
    WriteDebugLog(QStringLiteral("Refused while the server is awaited"));
    return true;
}

fMain::~fMain() {
    if (&SiteContext::current() == &m_site) SiteContext::install(nullptr);
    if (g_instance == this) g_instance = nullptr;
}

int fMain::SiteBox::index() const {
    return m_main->cboSites ? m_main->cboSites->currentIndex() : -1;
}

QString fMain::SiteBox::name() const {
    return m_main->cboSites ? m_main->cboSites->currentText() : QString();
}

// --- layout -----------------------------------------------------------------------------

QVBoxLayout* fMain::captioned(QPushButton* button) const {
    auto* box = new QVBoxLayout;
    box->addWidget(button, 0, Qt::AlignHCenter);
    box->addWidget(m_labels.value(button), 0, Qt::AlignHCenter);
    return box;
}

QWidget* fMain::buildButtonTab(const QList<QPushButton*>& buttons) {
    auto* frame = new QFrame;
    auto* grid = new QGridLayout(frame);
    constexpr int kColumns = 4;
    int cell = 0;
    for (QPushButton* b : buttons) {
        QVBoxLayout* box = captioned(b);
        box->addStretch();
        grid->addLayout(box, cell / kColumns, cell % kColumns);
        ++cell;
    }
    grid->setRowStretch(cell / kColumns + 1, 1);
    return frame;
}

void fMain::buildWindow() {
    auto* central = new QWidget;
    auto* outer = new QVBoxLayout(central);

    // Site box and the name label above the tabs.
    auto* top = new QHBoxLayout;
    cboSites = new QComboBox;
    cboSites->setObjectName(QStringLiteral("cboSites"));
    cboSites->setMinimumWidth(200);
    cboSites->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // A pick of the user, also of the site already shown, switches (and so reconnects).
    connect(cboSites, &QComboBox::activated, this, [this](int) { cboSites_Click(); });
    auto* lblvarnel = new QLabel(programName(false));
    lblvarnel->setObjectName(QStringLiteral("lblvarnel"));
    QFont big = lblvarnel->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    lblvarnel->setFont(big);
    top->addWidget(cboSites);
    top->addStretch();
    top->addWidget(lblvarnel);
    outer->addLayout(top);

    // Menu buttons, in the order of their tabs.
    QList<QPushButton*> tabs[kNoTab + 1];
    for (const MenuButton& row : menuButtons()) {
        auto [made, label] = makeMenuButton(row, *style());
        QPushButton* const button = made;  // a lambda may not capture a structured binding (C++20)
        if (row.handler)
            connect(button, &QPushButton::clicked, this, row.handler);
        else
            connect(button, &QPushButton::clicked, this, [this, button, busy = row.busyFirst] {
                openMenuWindow(button->objectName(), busy);
            });
        m_buttons << button;
        m_labels.insert(button, label);
        tabs[row.tab] << button;
    }
    button("cmdEdit")->setToolTip(QStringLiteral("Configure Sites"));
    button("cmdDload")->setToolTip(QStringLiteral("Downloads Folder"));

    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildMainTab(tabs[kMainTab]), QStringLiteral("Main"));
    SSTab1->addTab(buildButtonTab(tabs[kReportsTab]), QStringLiteral("Reports"));
    SSTab1->addTab(buildButtonTab(tabs[kUtilitiesTab]), QStringLiteral("Utilities"));
    SSTab1->addTab(buildButtonTab(tabs[kOptionsTab]), QStringLiteral("Options"));
    WebBrowser1 = new QTextBrowser;
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setOpenExternalLinks(true);
    SSTab1->addTab(WebBrowser1, QStringLiteral("Contact Infomation"));
    outer->addWidget(SSTab1, 1);

    // The live monitors: call log above PMS.
    auto* frameOnline = new QFrame;
    frameOnline->setObjectName(QStringLiteral("frameOnline"));
    frameOnline->setFrameShape(QFrame::StyledPanel);
    auto* online = new QVBoxLayout(frameOnline);
    m_callLog = new MonitorPane(LiveMonitor::Kind::CallLog);
    m_pms = new MonitorPane(LiveMonitor::Kind::Pms);
    online->addWidget(m_callLog, 1);
    online->addWidget(m_pms, 1);
    outer->addWidget(frameOnline, 1);

    // The update button sits outside the tabs.
    auto* updateRow = new QHBoxLayout;
    for (QPushButton* b : tabs[kNoTab]) {
        updateRow->addWidget(b);
        updateRow->addWidget(m_labels.value(b));
    }
    updateRow->addStretch();
    outer->addLayout(updateRow);

    setCentralWidget(central);

    Status = new QStatusBar;
    Status->setObjectName(QStringLiteral("Status"));
    setStatusBar(Status);
    Status->showMessage(QStringLiteral("Ready..."));

    // Visibility at creation (the labels of the exit and site buttons stay).
    button("cmdexit")->setVisible(false);
    button("cmdEdit")->setVisible(false);
    for (const char* name : {"cmdunusedstations", "cmdexitbackup", "cmdupdate"})
        setButtonShown(button(name), false);

    setMinimumSize(640, 560);
}

QWidget* fMain::buildMainTab(const QList<QPushButton*>& buttons) {
    auto* frame = new QFrame;
    auto* layout = new QGridLayout(frame);

    Label33 = new QLabel(QStringLiteral("site lable"));
    Label33->setObjectName(QStringLiteral("Label33"));
    layout->addWidget(Label33, 0, 0, 1, 2);

    AniGif1 = new QLabel;
    AniGif1->setObjectName(QStringLiteral("AniGif1"));
    AniGif1->setMinimumSize(48, 48);
    AniGif1->setAlignment(Qt::AlignCenter);
    layout->addWidget(AniGif1, 0, 2, 2, 1);

    m_errors = new ErrorIndicator([this] { return cboSites->currentText(); },
                                  [this] { openErrorWindow(); });
    layout->addWidget(m_errors, 1, 0, 1, 2);

    int column = 0;
    for (QPushButton* b : buttons) layout->addLayout(captioned(b), 2, column++);
    layout->setRowStretch(3, 1);
    return frame;
}

QPushButton* fMain::commandButton(const QString& name) const {
    for (QPushButton* b : m_buttons)
        if (b->objectName().compare(name, Qt::CaseInsensitive) == 0) return b;
    return nullptr;
}

QPushButton* fMain::button(const char* name) const {
    for (QPushButton* b : m_buttons)
        if (b->objectName() == QLatin1String(name)) return b;
    Q_ASSERT_X(false, "fMain::button", name);
    return nullptr;
}

void fMain::setButtonShown(QPushButton* button, bool shown) {
    button->setVisible(shown);
    if (QLabel* label = m_labels.value(button)) label->setVisible(shown);
}

// --- load, edition, lock-down -----------------------------------------------------------

void fMain::Form_Load() {
    button("cmdexit")->setVisible(true);
    button("cmdEdit")->setVisible(true);

    const QString gif = platform::findFileNoCase(platform::SystemInfo::programFolder(),
                                                 QStringLiteral("globe1_14807.gif"));
    if (!gif.isEmpty()) {
        m_globe = new QMovie(gif, QByteArray(), this);
        AniGif1->setMovie(m_globe);
        m_globe->start();
    }
    G().g_PullErrors = true;

    try {
        for (int n = ReportTable::kFirst; n <= ReportTable::kLast; ++n)
            getBatPath(n, configurationFilePath());
        BusyPointer busy(this);
        SetupSystemType();
        const QString about = platform::findFileNoCase(platform::SystemInfo::programFolder(),
                                                       QStringLiteral("varnelabout.html"));
        if (!about.isEmpty()) WebBrowser1->setSource(QUrl::fromLocalFile(about));
    } catch (const std::exception& e) {
        tell(QStringLiteral("The following error occurred:\r\n\r\n") +
                 QString::fromLocal8Bit(e.what()),
             platform::Icon::Critical, titles::kVarnelReports);
    }
}

void fMain::SetupSystemType() {
    setWindowTitle(QString());
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    setWindowTitle(QStringLiteral("Varnel Report Menu ") + G().g_Version +
                   QStringLiteral(" Running On (") + platform::SystemInfo::computerName() +
                   QLatin1Char(')'));
    m_errors->startPulls();

    if (G().g_Brevia) setButtonShown(button("cmdtestcall"), false);
    setButtonShown(button("cmddatabase"), G().g_Express);
    setButtonShown(button("cmdareacodes"), G().g_Express);
    setButtonShown(button("cmdunusedstations"), G().g_UnusedReport);
}

void fMain::disableAllButtons() {
    // Log off, the folder list and exit stay usable; a login grants the rest again.
    static const QStringList kKept{"cmdlogoff", "cmdDload", "cmdexit", "cmdexitbackup"};
    for (QPushButton* b : m_buttons)
        if (!kKept.contains(b->objectName())) b->setEnabled(false);
    SSTab1->setEnabled(true);
    m_errors->stopPulls();
    const bool defaultSite = cboSites->currentText() == QLatin1String("Default");
    button("cmdEdit")->setEnabled(defaultSite);
    button("cmduserpasswd")->setEnabled(!defaultSite);
}

void fMain::updateCaption() {
    setWindowTitle(QStringLiteral("Varnel ") + programName(G().g_Express) +
                   QStringLiteral(" Menu ") + G().g_Version + QStringLiteral("  ") +
                   QStringLiteral("Running on ") + platform::SystemInfo::computerName() +
                   QStringLiteral("    Current User: ") + G().g_UserName.toUpper());
}

// --- site switch ------------------------------------------------------------------------

void fMain::setListIndex(int index) {
    cboSites->setCurrentIndex(index);
    cboSites_Click();
}

void fMain::cboSites_Click() {
    if (refusedWhileWaiting()) {
        const QSignalBlocker quiet(cboSites);
        cboSites->setCurrentIndex(G().g_CurSite < cboSites->count() ? G().g_CurSite : -1);
        return;
    }
    const int index = cboSites->currentIndex();
    // A site whose name cannot name its folder is never switched to: the site in use stays.
    if (const QString refusal = unusableSiteText(cboSites->currentText(), index);
        index >= 0 && !refusal.isEmpty()) {
        const int inUse = G().g_CurSite != index ? G().g_CurSite : -1;
        {
            const QSignalBlocker quiet(cboSites);
            cboSites->setCurrentIndex(inUse < cboSites->count() ? inUse : -1);
        }
        tell(refusal, platform::Icon::Exclamation, titles::kVarnelReports);
        return;
    }
    dropMonitors();
    if (cboSites->currentText().toUpper() != QLatin1String("DEFAULT")) {
        // With nothing selected there is no site to switch to.
        if (index >= 0) {
            G().g_CurSite = index;
            openWindow(QStringLiteral("fgetdata"), this);
            button("cmdDload")->setEnabled(true);
            SetupSystemType();
        }
    } else {
        disableAllButtons();
        button("cmdDload")->setEnabled(false);
        m_errors->hideIndicator();
    }
    updateCaption();
}

// --- actions of their own ---------------------------------------------------------------

void fMain::cmdDload_Click() {
    QString site = cboSites->currentText();
    site.replace(QLatin1Char(' '), QLatin1Char('_'));
    QString folder = sitePath(site, QStringLiteral("download"));
    if (folder.isEmpty()) return;  // a site that cannot be chosen has no folder to show
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    platform::DocumentViewer::instance().open(folder);
}

void fMain::cmdexit_Click() {
    if (refusedWhileWaiting()) return;
    unloadInstance();
    endProgram();
}

void fMain::cmdexitbackup_Click() {
    if (refusedWhileWaiting()) return;
    G().g_BackupReportsMode = false;
    SSTab1->setTabText(SSTab1->currentIndex(), QStringLiteral("Reports"));
    SSTab1->setCurrentIndex(0);
    setButtonShown(button("cmdexitbackup"), false);
}

void fMain::cmdlogoff_Click() {
    if (refusedWhileWaiting()) return;
    dropMonitors();
    disableAllButtons();
    unloadInstance();
    // A new start-up reads everything again; nothing of the last user's run is kept.
    resetGlobals();
    if (QWidget* splash = createWindow(QStringLiteral("frmSplash"), nullptr)) splash->show();
}

void fMain::cmdupdate_Click() {
    if (refusedWhileWaiting()) return;
    BusyPointer busy(this);
    ExecCmd(*this, commandLineWord(platform::SystemInfo::path(QStringLiteral("0update.bat"))));
}

void fMain::Form_Unload() {
    m_errors->stopPulls();
    const int index = cboSites->currentIndex();
    if (index >= 0)
        platform::ProfileFile(configurationFilePath()).write(config::kSites, config::kLast, index);
    dropMonitors();
}

void fMain::closeEvent(QCloseEvent* event) {
    if (!m_unloaded && !programEndRequested() && refusedWhileWaiting()) {
        event->ignore();
        return;
    }
    event->accept();
    if (m_unloaded) return;
    // Ending from another window closes this one too: unload, without ending a second time.
    if (programEndRequested()) {
        unloadInstance();
        return;
    }
    // Closing the window ends the program, as the exit button does.
    cmdexit_Click();
}

// --- server clock and table unlock ---------------------------------------------------------

void fMain::cmdsynch_Click() {
    if (refusedWhileWaiting()) return;
    const ReentryGuard::Entry running = g_sync.enter();
    if (!running) return;
    if (!ask(QStringLiteral("Are you sure you want to change the date and time on the Varnel "
                            "Call Accounting Server?") +
                 kCrLf,
             titles::kConfigureSites)) {
        tell(clockNotChangedText());
        return;
    }
    QPointer<fMain> self(this);
    // The time is taken after the answer: the question may stay open a while.
    const UtilityOutcome outcome = setServerClock(SiteContext::current().index(), programNow());
    if (!self) return;
    tell(outcome.text, outcome.icon);
}

void fMain::cmdunlock_Click() {
    if (refusedWhileWaiting()) return;
    const ReentryGuard::Entry running = g_unlock.enter();
    if (!running) return;
    QPointer<fMain> self(this);
    BusyPointer busy(this);
    const UtilityOutcome outcome = unlockServerTables(SiteContext::current().index());
    busy.release();
    if (!self) return;
    tell(outcome.text, outcome.icon);
}

// --- the error indicator ----------------------------------------------------------------

void fMain::openErrorWindow() {
    if (refusedWhileWaiting()) return;
    m_errors->hideIndicator();
    G().g_PullErrors = false;
    openWindow(QStringLiteral("fErrors"), this);
}

// --- windows opened from the menu -------------------------------------------------------

void fMain::openMenuWindow(const QString& button, bool busyFirst) {
    if (refusedWhileWaiting()) return;
    const WindowEntry* entry = WindowRegistry::forButton(button);
    if (!entry) {
        WriteDebugLog(QStringLiteral("No window is built for ") + button);
        return;
    }
    BusyPointer busy(busyFirst ? this : nullptr);
    openWindow(entry->window, this);
}

// --- live monitors ----------------------------------------------------------------------

void fMain::dropMonitors() {
    m_callLog->drop();
    m_pms->drop();
}

// --- what start-up does to the window ----------------------------------------------------

void fMain::setButtonUsable(const char* name, bool usable) {
    QPushButton* b = button(name);
    for (QWidget* w : {static_cast<QWidget*>(b), static_cast<QWidget*>(m_labels.value(b))}) {
        w->setVisible(usable);
        w->setEnabled(usable);
    }
}

void fMain::prepareForLogin() {
    setButtonShown(button("cmdexitbackup"), false);
    disableAllButtons();
}

void fMain::showUpdateButton(bool shown) {
    setButtonUsable("cmdupdate", shown);
}

QStringList fMain::commandButtonNames() const {
    QStringList names;
    for (QPushButton* b : findChildren<QPushButton*>())
        if (!b->objectName().isEmpty()) names << b->objectName();
    return names;
}

void fMain::grantButton(const QString& name) {
    for (QPushButton* b : findChildren<QPushButton*>()) {
        if (b->objectName() != name) continue;
        b->setVisible(true);
        b->setEnabled(true);
    }
}

void fMain::showSiteEditorButton() {
    setButtonUsable("cmdEdit", true);
}

QStringList fMain::siteNames() const {
    QStringList names;
    for (int i = 0; i < cboSites->count(); ++i) names << cboSites->itemText(i);
    return names;
}

void fMain::setSiteNames(const QStringList& names) {
    cboSites->clear();
    cboSites->addItems(names);
}

void fMain::addSiteName(const QString& name) {
    const QSignalBlocker quiet(cboSites);
    cboSites->addItem(name);
}

void fMain::clearSiteChoice() {
    cboSites->setCurrentIndex(-1);
}

void fMain::showBackupReportsMode(bool on) {
    SSTab1->setTabText(1, on ? QStringLiteral("Backup Reports") : QStringLiteral("Reports"));
    SSTab1->setCurrentIndex(on ? 1 : 0);
    setButtonShown(button("cmdexitbackup"), on);
}

void fMain::setConnectedCaption(const QString& text) {
    Label33->setText(text);
}

void fMain::setDownloadTip(const QString& text) {
    button("cmdDload")->setToolTip(text);
}

void fMain::showStatus(const QString& text) {
    Status->showMessage(text);
}

QString fMain::statusText() const {
    return Status->currentMessage();
}

}  // namespace quillon
