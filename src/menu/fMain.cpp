#include "menu/fMain.h"

#include "remote/ServerWaits.h"

#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/SiteTargets.h"
#include "common/TextFormats.h"
#include "menu/ErrorFiles.h"
#include "menu/ExecCmd.h"
#include "menu/LiveMonitor.h"
#include "menu/ServerUtilities.h"
#include "menu/frmquestion.h"
#include "platform/DocumentViewer.h"
#include "platform/FileLookup.h"
#include "platform/ProfileFile.h"
#include "platform/Prompter.h"
#include "platform/SystemInfo.h"
#include "remote/LiveTailSession.h"
#include "reports/common/ReportTable.h"
#include "widgets/AppControl.h"
#include "widgets/BusyPointer.h"
#include "widgets/ReentryGuard.h"
#include "widgets/Timers.h"
#include "widgets/WindowRegistry.h"

#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QMovie>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>
#include <functional>

namespace quillon {

namespace {

fMain* g_instance = nullptr;

// Clicks that come while the same utility still waits for the server are dropped. The guards
// outlive a main window that log off destroys during the wait.
ReentryGuard g_sync;
ReentryGuard g_unlock;

const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);

// A label takes no clicks of its own: a left-button release on it runs the handler.
class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent), m_handler(std::move(handler)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_handler();
            return true;
        }
        return false;
    }

private:
    std::function<void()> m_handler;
};

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

fMain::fMain(QWidget* parent)
    : QMainWindow(parent),
      m_callLog(std::make_unique<LiveMonitor>(LiveMonitor::Kind::CallLog)),
      m_pms(std::make_unique<LiveMonitor>(LiveMonitor::Kind::Pms)) {
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

QPushButton* fMain::addButton(QPushButton*& member, const char* name, const QString& caption,
                              void (fMain::*handler)(), QStyle::StandardPixmap picture,
                              const char* labelName) {
    // A picture button; its caption stands in the label under it.
    auto* button = new QPushButton;
    button->setObjectName(QLatin1String(name));
    button->setIcon(style()->standardIcon(picture));
    button->setIconSize(QSize(32, 32));
    button->setMinimumSize(64, 48);
    button->setToolTip(caption.trimmed());
    button->setAccessibleName(caption.trimmed());
    auto* label = new QLabel(caption);
    // The caption labels the system does not name are called after their button.
    label->setObjectName(labelName ? QLatin1String(labelName)
                                   : QStringLiteral("lbl") + QLatin1String(name).mid(3));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // A button without a handler of its own opens the window the registry holds for it.
    if (handler)
        connect(button, &QPushButton::clicked, this, handler);
    else
        connect(button, &QPushButton::clicked, this,
                [this, button] { openMenuWindow(button->objectName()); });
    member = button;
    m_buttons << button;
    m_labels.insert(button, label);
    return button;
}

QWidget* fMain::buildButtonTab(const QList<QPushButton*>& buttons) {
    auto* frame = new QFrame;
    auto* grid = new QGridLayout(frame);
    constexpr int kColumns = 4;
    int cell = 0;
    for (QPushButton* b : buttons) {
        auto* box = new QVBoxLayout;
        box->addWidget(b, 0, Qt::AlignHCenter);
        box->addWidget(m_labels.value(b), 0, Qt::AlignHCenter);
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
    lblvarnel = new QLabel(programName(false));
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
    QList<QPushButton*> mainTab, reportsTab, utilitiesTab, optionsTab;
    mainTab << addButton(cmdlogoff, "cmdlogoff", QStringLiteral("Log On/Off"),
                         &fMain::cmdlogoff_Click, QStyle::SP_BrowserReload)
            << addButton(cmduserpasswd, "cmduserpasswd", QStringLiteral("Change Password"), nullptr,
                         QStyle::SP_DialogApplyButton)
            << addButton(cmdDload, "cmdDload", QStringLiteral("Folder List"),
                         &fMain::cmdDload_Click, QStyle::SP_DirOpenIcon)
            << addButton(cmdexit, "cmdexit", QStringLiteral("Exit"), &fMain::cmdexit_Click,
                         QStyle::SP_DialogCloseButton);
    reportsTab << addButton(cmddetail, "cmddetail", QStringLiteral("Detail"), nullptr,
                            QStyle::SP_FileDialogDetailedView)
               << addButton(cmdAudit, "cmdAudit", QStringLiteral("Audit"), nullptr,
                            QStyle::SP_FileDialogContentsView)
               << addButton(cmdcost, "cmdcost", QStringLiteral("Cost"), nullptr,
                            QStyle::SP_FileDialogDetailedView)
               << addButton(cmdstats, "cmdstats", QStringLiteral("Stats"), nullptr,
                            QStyle::SP_FileDialogInfoView)
               << addButton(cmdWatchdog, "cmdWatchdog", QStringLiteral("Watch Dog "), nullptr,
                            QStyle::SP_MessageBoxWarning)
               << addButton(cmdcrono, "cmdcrono", QStringLiteral("Crono"), nullptr,
                            QStyle::SP_FileDialogListView)
               << addButton(cmdtrunk, "cmdtrunk", QStringLiteral("Trunk "), nullptr,
                            QStyle::SP_FileDialogDetailedView)
               << addButton(cmdAreaCode, "cmdAreaCode", QStringLiteral("Area Code"), nullptr,
                            QStyle::SP_FileDialogContentsView)
               << addButton(cmdauth, "cmdauth", QStringLiteral("Auth Code"), nullptr,
                            QStyle::SP_FileDialogInfoView)
               << addButton(cmdcallcalc, "cmdcallcalc", QStringLiteral("Call Calculator"), nullptr,
                            QStyle::SP_ComputerIcon)
               << addButton(cmdunusedstations, "cmdunusedstations",
                            QStringLiteral("Unused Stations"), nullptr,
                            QStyle::SP_FileDialogListView, "lblunused")
               << addButton(cmdexitbackup, "cmdexitbackup", QStringLiteral("EXIT Backup Menu"),
                            &fMain::cmdexitbackup_Click, QStyle::SP_ArrowBack, "lblexitbackup");
    utilitiesTab << addButton(cmdmanager, "cmdmanager", QStringLiteral("Manager"), nullptr,
                              QStyle::SP_FileDialogListView)
                 << addButton(cmddelprint, "cmddelprint", QStringLiteral("Clear Print Jobs "),
                              nullptr, QStyle::SP_TrashIcon)
                 << addButton(cmdsynch, "cmdsynch", QStringLiteral("Time Sync"),
                              &fMain::cmdsynch_Click, QStyle::SP_BrowserReload)
                 << addButton(cmdbringreport, "cmdbringreport", QStringLiteral("Pull Back Reports"),
                              nullptr, QStyle::SP_ArrowDown)
                 << addButton(cmddelete, "cmddelete", QStringLiteral("Delete Calls"), nullptr,
                              QStyle::SP_TrashIcon)
                 << addButton(cmdunlock, "cmdunlock", QStringLiteral("Unlock Tables"),
                              &fMain::cmdunlock_Click, QStyle::SP_DialogYesButton)
                 << addButton(cmdtestcall, "cmdtestcall", QStringLiteral("Test Call"), nullptr,
                              QStyle::SP_MediaPlay)
                 << addButton(cmdbackupmenu, "cmdbackupmenu", QStringLiteral("Backup Menu"),
                              nullptr, QStyle::SP_DriveHDIcon)
                 << addButton(cmddatabase, "cmddatabase", QStringLiteral("Pricing"), nullptr,
                              QStyle::SP_FileDialogInfoView)
                 << addButton(cmdareacodes, "cmdareacodes", QStringLiteral("Area Codes/ Prefixs"),
                              nullptr, QStyle::SP_FileDialogContentsView);
    optionsTab << addButton(cmdadduser, "cmdadduser", QStringLiteral("Add  Users"), nullptr,
                            QStyle::SP_DirHomeIcon)
               << addButton(cmdmoduser, "cmdmoduser", QStringLiteral("Modify Users"), nullptr,
                            QStyle::SP_FileDialogDetailedView)
               << addButton(cmddeluser, "cmddeluser", QStringLiteral("Delete Users"), nullptr,
                            QStyle::SP_TrashIcon)
               << addButton(cmdpasswd, "cmdpasswd", QStringLiteral("Change  Passwords"), nullptr,
                            QStyle::SP_DialogApplyButton)
               << addButton(cmdEdit, "cmdEdit", QStringLiteral("Configure Site"), nullptr,
                            QStyle::SP_FileDialogNewFolder, "lblsites");
    addButton(cmdupdate, "cmdupdate", QStringLiteral("Update"), &fMain::cmdupdate_Click,
              QStyle::SP_ArrowUp, "lblupdate");
    lblunused = m_labels.value(cmdunusedstations);
    lblexitbackup = m_labels.value(cmdexitbackup);
    lblsites = m_labels.value(cmdEdit);
    lblupdate = m_labels.value(cmdupdate);
    cmdEdit->setToolTip(QStringLiteral("Configure Sites"));
    cmdDload->setToolTip(QStringLiteral("Downloads Folder"));

    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildMainTab(), QStringLiteral("Main"));
    SSTab1->addTab(buildButtonTab(reportsTab), QStringLiteral("Reports"));
    SSTab1->addTab(buildButtonTab(utilitiesTab), QStringLiteral("Utilities"));
    SSTab1->addTab(buildButtonTab(optionsTab), QStringLiteral("Options"));
    WebBrowser1 = new QTextBrowser;
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setOpenExternalLinks(true);
    SSTab1->addTab(WebBrowser1, QStringLiteral("Contact Infomation"));
    outer->addWidget(SSTab1, 1);

    // The live monitors: call-log label and box, then PMS label and box.
    frameOnline = new QFrame;
    frameOnline->setObjectName(QStringLiteral("frameOnline"));
    frameOnline->setFrameShape(QFrame::StyledPanel);
    auto* online = new QVBoxLayout(frameOnline);
    auto makeBox = [](const char* name) {
        auto* box = new QTextEdit;
        box->setObjectName(QLatin1String(name));
        box->setReadOnly(true);
        box->setUndoRedoEnabled(false);
        box->setLineWrapMode(QTextEdit::NoWrap);
        box->setMinimumHeight(80);
        QPalette p = box->palette();
        p.setColor(QPalette::Base, Qt::black);
        p.setColor(QPalette::Text, QColor(0, 255, 0));
        // The whole text stays selected after each append; like a rich-text box that hides
        // its selection, the box shows it as plain green text, not as a highlight.
        p.setColor(QPalette::Highlight, Qt::black);
        p.setColor(QPalette::HighlightedText, QColor(0, 255, 0));
        box->setPalette(p);
        QFont mono(QStringLiteral("Monospace"));
        mono.setStyleHint(QFont::TypeWriter);
        box->setFont(mono);
        return box;
    };
    callrecordsin = new QLabel(QStringLiteral("Live Call Records"));
    callrecordsin->setObjectName(QStringLiteral("callrecordsin"));
    txtCOLL = makeBox("txtCOLL");
    callrecordsout = new QLabel(QStringLiteral("Calls Posted to PMS"));
    callrecordsout->setObjectName(QStringLiteral("callrecordsout"));
    txtPMS = makeBox("txtPMS");
    online->addWidget(callrecordsin);
    online->addWidget(txtCOLL, 1);
    online->addWidget(callrecordsout);
    online->addWidget(txtPMS, 1);
    outer->addWidget(frameOnline, 1);
    connect(txtCOLL, &QTextEdit::textChanged, this, &fMain::txtCOLL_Change);
    connect(txtPMS, &QTextEdit::textChanged, this, &fMain::txtPMS_Change);

    // The update button sits outside the tabs.
    auto* updateRow = new QHBoxLayout;
    updateRow->addWidget(cmdupdate);
    updateRow->addWidget(lblupdate);
    updateRow->addStretch();
    outer->addLayout(updateRow);

    setCentralWidget(central);

    Status = new QStatusBar;
    Status->setObjectName(QStringLiteral("Status"));
    setStatusBar(Status);
    Status->showMessage(QStringLiteral("Ready..."));

    tmrGetErrors = makeTimer(this, QStringLiteral("tmrGetErrors"), 60000, TimerShot::Repeating,
                             [this] { tmrGetErrors_Timer(); });
    buildErrorIndicator();

    sshCOLL = new LiveTailSession(this);
    sshCOLL->setObjectName(QStringLiteral("sshCOLL"));
    connect(sshCOLL, &LiveTailSession::connected, this, &fMain::sshCOLL_Connected);
    connect(sshCOLL, &LiveTailSession::dataReceived, this, &fMain::sshCOLL_Data);
    sshPMS = new LiveTailSession(this);
    sshPMS->setObjectName(QStringLiteral("sshPMS"));
    connect(sshPMS, &LiveTailSession::connected, this, &fMain::sshPMS_Connected);
    connect(sshPMS, &LiveTailSession::dataReceived, this, &fMain::sshPMS_Data);
    connect(sshCOLL, &LiveTailSession::disconnected, this, &fMain::sshCOLL_Disconnected);
    connect(sshPMS, &LiveTailSession::disconnected, this, &fMain::sshPMS_Disconnected);
    m_callLogStart = makeTimer(this, QStringLiteral("tmrCOLLStart"), 0, TimerShot::Single, [this] {
        monitorStartOverdue(*m_callLog, sshCOLL, m_callLogStart);
    });
    m_pmsStart = makeTimer(this, QStringLiteral("tmrPMSStart"), 0, TimerShot::Single,
                           [this] { monitorStartOverdue(*m_pms, sshPMS, m_pmsStart); });

    // Visibility at creation.
    for (QWidget* w : std::initializer_list<QWidget*>{cmdexit, cmdEdit, cmdunusedstations,
                                                      lblunused, cmdexitbackup, lblexitbackup,
                                                      cmdupdate, lblupdate, lblError, Shape1})
        w->setVisible(false);

    setMinimumSize(640, 560);
}

QWidget* fMain::buildMainTab() {
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

    // The error indicator: the label over its coloured box, in one cell.
    Shape1 = new QFrame;
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setAutoFillBackground(true);
    QPalette p = Shape1->palette();
    p.setColor(QPalette::Window, QColor(255, 255, 0));
    Shape1->setPalette(p);
    lblError = new QLabel(QStringLiteral("  SYSTEM ERRORS"));
    lblError->setObjectName(QStringLiteral("lblError"));
    lblError->setToolTip(QStringLiteral("Click here to view your Errors"));
    lblError->setAlignment(Qt::AlignCenter);
    QFont bold = lblError->font();
    bold.setBold(true);
    lblError->setFont(bold);
    layout->addWidget(Shape1, 1, 0, 1, 2);
    layout->addWidget(lblError, 1, 0, 1, 2);

    int column = 0;
    for (QPushButton* b : {cmdlogoff, cmduserpasswd, cmdDload, cmdexit}) {
        auto* box = new QVBoxLayout;
        box->addWidget(b, 0, Qt::AlignHCenter);
        box->addWidget(m_labels.value(b), 0, Qt::AlignHCenter);
        layout->addLayout(box, 2, column++);
    }
    layout->setRowStretch(3, 1);
    return frame;
}

QPushButton* fMain::commandButton(const QString& name) const {
    for (QPushButton* b : m_buttons)
        if (b->objectName().compare(name, Qt::CaseInsensitive) == 0) return b;
    return nullptr;
}

QLabel* fMain::captionLabel(const QPushButton* button) const {
    return m_labels.value(button);
}

void fMain::setButtonShown(QPushButton* button, bool shown) {
    button->setVisible(shown);
    if (QLabel* label = m_labels.value(button)) label->setVisible(shown);
}

// --- load, edition, lock-down -----------------------------------------------------------

void fMain::Form_Load() {
    cmdexit->setVisible(true);
    cmdEdit->setVisible(true);

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
    tmrGetErrors->start();

    if (G().g_Brevia) setButtonShown(cmdtestcall, false);
    setButtonShown(cmddatabase, G().g_Express);
    setButtonShown(cmdareacodes, G().g_Express);
    setButtonShown(cmdunusedstations, G().g_UnusedReport);
}

void fMain::disableAllButtons() {
    for (QPushButton* b : {cmddetail, cmdAreaCode, cmdAudit, cmdauth, cmdcost, cmdcrono, cmdstats,
                           cmdtrunk, cmdWatchdog, cmdunusedstations})
        b->setEnabled(false);
    SSTab1->setEnabled(true);
    tmrGetErrors->stop();
    for (QPushButton* b : {cmddelprint, cmdbringreport, cmdcallcalc, cmdsynch, cmdmanager,
                           cmddelete, cmdbackupmenu, cmdunlock, cmdtestcall, cmdupdate, cmdadduser,
                           cmdmoduser, cmdpasswd, cmddeluser, cmddatabase, cmdareacodes})
        b->setEnabled(false);
    const bool defaultSite = cboSites->currentText() == QLatin1String("Default");
    cmdEdit->setEnabled(defaultSite);
    cmduserpasswd->setEnabled(!defaultSite);
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
            cmdDload->setEnabled(true);
            SetupSystemType();
        }
    } else {
        disableAllButtons();
        cmdDload->setEnabled(false);
        lblError->setVisible(false);
        Shape1->setVisible(false);
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
    lblexitbackup->setVisible(false);
    cmdexitbackup->setVisible(false);
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
    tmrGetErrors->stop();
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
    const UtilityOutcome outcome = setServerClock(G().g_CurSite, utilitiesNow());
    if (!self) return;
    tell(outcome.text, outcome.icon);
}

void fMain::cmdunlock_Click() {
    if (refusedWhileWaiting()) return;
    const ReentryGuard::Entry running = g_unlock.enter();
    if (!running) return;
    QPointer<fMain> self(this);
    BusyPointer busy(this);
    const UtilityOutcome outcome = unlockServerTables(G().g_CurSite);
    busy.release();
    if (!self) return;
    tell(outcome.text, outcome.icon);
}

// --- the error indicator ----------------------------------------------------------------

void fMain::buildErrorIndicator() {
    tmrColorSwap = makeTimer(this, QStringLiteral("tmrColorSwap"), 750, TimerShot::Repeating,
                             [this] { tmrColorSwap_Timer(); });

    filelistErrors = new QListWidget(this);
    filelistErrors->setObjectName(QStringLiteral("filelistErrors"));
    filelistErrors->hide();

    lblError->setCursor(Qt::PointingHandCursor);
    lblError->installEventFilter(new ClickFilter(lblError, [this] { lblError_Click(); }));
}

void fMain::geterrorcsvfiles(const QString&) {
    // The site is always the one selected here.
    pullErrorFiles(filesRequestForSite(G().g_CurSite), errorFolder(cboSites->currentText()),
                   [](const QString& text) { WriteDebugLog(text); });
}

void fMain::tmrGetErrors_Timer() {
    const QString site = cboSites->currentText();
    const QString folder = errorFolder(site);
    filelistErrors->setProperty("Path", folder);
    if (!G().g_PullErrors) return;
    // The pull still running shows what it finds itself.
    if (errorPullRunning()) return;

    QPointer<fMain> self(this);
    const bool wasOn = tmrGetErrors->isActive();
    geterrorcsvfiles(site);
    if (!self) return;
    // The user left the site (or logged off) while the pull waited: this tick shows nothing.
    if (cboSites->currentText() != site || (wasOn && !tmrGetErrors->isActive())) {
        m_errorClickWaits = false;
        return;
    }

    filelistErrors->clear();
    filelistErrors->addItems(listErrorFiles(folder));
    const bool any = filelistErrors->count() > 0;
    Shape1->setVisible(any);
    lblError->setVisible(any);
    if (any)
        tmrColorSwap->start();
    else
        tmrColorSwap->stop();

    if (m_errorClickWaits) {
        m_errorClickWaits = false;
        if (any) QTimer::singleShot(0, this, &fMain::lblError_Click);
    }
}

void fMain::tmrColorSwap_Timer() {
    QPalette p = Shape1->palette();
    p.setColor(QPalette::Window, p.color(QPalette::Window) == kYellow ? kRed : kYellow);
    Shape1->setPalette(p);
}

void fMain::lblError_Click() {
    // A click while a pull is on its way opens the window once that pull has ended.
    if (errorPullRunning()) {
        m_errorClickWaits = true;
        return;
    }
    if (refusedWhileWaiting()) return;
    Shape1->hide();
    lblError->hide();
    G().g_PullErrors = false;
    openWindow(QStringLiteral("fErrors"), this);
}

// --- windows opened from the menu -------------------------------------------------------

void fMain::openMenuWindow(const QString& button) {
    if (refusedWhileWaiting()) return;
    const WindowEntry* entry = WindowRegistry::forButton(button);
    if (!entry) {
        WriteDebugLog(QStringLiteral("No window is built for ") + button);
        return;
    }
    // These two look at the server or the print queue before their window shows.
    const bool busyFirst =
        button == QLatin1String("cmddelprint") || button == QLatin1String("cmdbringreport");
    BusyPointer busy(busyFirst ? this : nullptr);
    openWindow(entry->window, this);
}

// --- live monitors ----------------------------------------------------------------------

void fMain::dropMonitors() {
    m_callLogStart->stop();
    m_pmsStart->stop();
    sshCOLL->disconnect();
    sshPMS->disconnect();
}

void fMain::openMonitor(LiveMonitor& monitor, LiveTailSession* session, QTimer* start) {
    monitor.beginReconnect();
    start->stop();
    session->disconnect();
    session->connectToHost(shellTargetForSite(G().g_CurSite), G().g_FtpTimeout);
}

void fMain::reconnectCallLog() {
    openMonitor(*m_callLog, sshCOLL, m_callLogStart);
}
void fMain::reconnectPms() {
    openMonitor(*m_pms, sshPMS, m_pmsStart);
}

void fMain::monitorConnected(LiveMonitor& monitor, LiveTailSession* session, QTimer* start,
                             int errorCode, const QString& errorText) {
    if (errorCode != 0) {
        tell(monitor.connectFailureMessage(errorText));
        return;
    }
    for (const QString& line : monitor.startCommands()) session->send(line);
    // A server that takes the lines and never echoes the tail would leave the monitor waiting
    // without a word; once the tail runs, a quiet log is no fault.
    start->start(lineTimeoutSec() * 1000);
}

void fMain::monitorStartOverdue(LiveMonitor& monitor, LiveTailSession* session, QTimer* start) {
    if (monitor.state() != LiveMonitor::kReconnecting) return;
    session->disconnect();
    tell(monitor.startOverdueMessage(start->interval() / 1000));
}

void fMain::monitorLost(LiveMonitor& monitor, QTimer* start) {
    start->stop();
    tell(monitor.lostMessage());
}

void fMain::monitorData(LiveMonitor& monitor, QTextEdit* box, const QString& text) {
    const std::optional<QString> shown = monitor.receive(text);
    if (!shown) return;
    const QString data = LiveMonitor::forDisplay(*shown);

    QTextCharFormat green;
    green.setForeground(QColor(0, 255, 0));
    QTextCursor end(box->document());
    end.movePosition(QTextCursor::End);
    end.insertText(data, green);  // raises the box's change handler

    // Only the newest text stays in the box.
    if (box->document()->characterCount() - 1 > monitor.cap()) {
        const qsizetype drop = LiveMonitor::excessToDrop(box->toPlainText(), monitor.cap());
        QTextCursor cut(box->document());
        cut.setPosition(int(drop), QTextCursor::KeepAnchor);
        cut.removeSelectedText();
    }

    // The whole text selected, the view at its end.
    QTextCursor all(box->document());
    all.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    QTextCursor selection(box->document());
    selection.setPosition(0);
    selection.setPosition(all.position(), QTextCursor::KeepAnchor);
    box->setTextCursor(selection);
    box->ensureCursorVisible();
}

void fMain::monitorChanged(LiveMonitor& monitor, QTextEdit* box, QLabel* stamp) {
    QTextCursor end = box->textCursor();
    end.movePosition(QTextCursor::End);
    box->setTextCursor(end);
    stamp->setText(monitor.stampLabel(QDateTime::currentDateTime()));
}

void fMain::sshCOLL_Connected(int errorCode, const QString& errorText) {
    monitorConnected(*m_callLog, sshCOLL, m_callLogStart, errorCode, errorText);
}
void fMain::sshCOLL_Data(const QString& text) {
    monitorData(*m_callLog, txtCOLL, text);
}
void fMain::sshPMS_Connected(int errorCode, const QString& errorText) {
    monitorConnected(*m_pms, sshPMS, m_pmsStart, errorCode, errorText);
}
void fMain::sshCOLL_Disconnected() {
    monitorLost(*m_callLog, m_callLogStart);
}
void fMain::sshPMS_Disconnected() {
    monitorLost(*m_pms, m_pmsStart);
}
void fMain::sshPMS_Data(const QString& text) {
    monitorData(*m_pms, txtPMS, text);
}
void fMain::txtCOLL_Change() {
    monitorChanged(*m_callLog, txtCOLL, callrecordsin);
}
void fMain::txtPMS_Change() {
    monitorChanged(*m_pms, txtPMS, callrecordsout);
}

}  // namespace quillon
