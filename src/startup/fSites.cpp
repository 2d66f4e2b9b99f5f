#include "startup/fSites.h"

#include "common/ButtonCatalogue.h"
#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/SiteTargets.h"
#include "common/TextFormats.h"
#include "platform/FileLookup.h"
#include "platform/ProfileFile.h"
#include "platform/Prompter.h"
#include "platform/SystemInfo.h"
#include "remote/ServerWork.h"
#include "remote/ShellControl.h"
#include "startup/ReportScripts.h"
#include "startup/SiteSetup.h"
#include "widgets/AppControl.h"
#include "widgets/BusyPointer.h"
#include "widgets/KeyUpFilter.h"
#include "widgets/MainWindowPort.h"
#include "widgets/NamedControls.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <memory>

namespace quillon {

namespace {

const QString kNewSiteCaption = QStringLiteral("&New Site");
const QString kAddSiteCaption = QStringLiteral("&Add Site");
const QString kModifyCaption = QStringLiteral("&Modify Site");
const QString kSaveCaption = QStringLiteral("&Save Site");
const QString kDefaultSiteRefusal =
    QStringLiteral("YOU MAY NOT MODIFY THE DEFAULT SITE, ADD A SITE CALL VARNEL SUPPORT FOR HELP");

}  // namespace

fSites::fSites(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fSites"));
    setWindowTitle(QString());

    Label1 = new QLabel(QStringLiteral("Current Sites:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    cboSites = new QComboBox(this);
    cboSites->setObjectName(QStringLiteral("cboSites"));
    cboSites->setMinimumContentsLength(20);
    txtSiteName = namedBox(this, "txtSiteName");
    txtSiteName->setVisible(false);

    txtIPAddress = namedBox(this, "txtIPAddress");
    txtSSHPort = namedBox(this, "txtSSHPort");
    txtTelnetPort = namedBox(this, "txtTelnetPort");
    txtUserName = namedBox(this, "txtUserName");
    txtPassword = namedBox(this, "txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    txthomedir = namedBox(this, "txthomedir");
    txtlogin = namedBox(this, "txtlogin");

    auto* top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(cboSites, 1);
    top->addWidget(txtSiteName, 1);

    auto* boxes = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString& caption, QLineEdit* box, QLabel** labelOut = nullptr) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        boxes->addWidget(label, row, 0);
        boxes->addWidget(box, row, 1);
        ++row;
        if (labelOut) *labelOut = label;
    };
    addRow(QStringLiteral("IP Address:"), txtIPAddress);
    addRow(QStringLiteral("SSH Port:"), txtSSHPort);
    addRow(QStringLiteral("Telnet Port:"), txtTelnetPort, &lblTelnetPort);
    lblTelnetPort->setObjectName(QStringLiteral("lblTelnetPort"));
    addRow(QStringLiteral("SCP User Name:"), txtUserName);
    addRow(QStringLiteral("SCP Password:"), txtPassword);
    addRow(QStringLiteral("HomeDir:"), txthomedir);
    addRow(QStringLiteral("SSH Login:"), txtlogin);
    // Hidden at design: the telnet port is kept, not edited.
    txtTelnetPort->setVisible(false);
    lblTelnetPort->setVisible(false);

    cmdmodify = namedButton(this, "cmdmodify", kModifyCaption);
    cmdNewSite = namedButton(this, "cmdNewSite", kNewSiteCaption);
    cmdcancel = namedButton(this, "cmdcancel", QStringLiteral("&Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdmodify);
    buttons->addWidget(cmdNewSite);
    buttons->addWidget(cmdcancel);

    Frame1 = new QGroupBox(QStringLiteral("Edit Scripts"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    lstReports = new QListWidget(Frame1);
    lstReports->setObjectName(QStringLiteral("lstReports"));
    txtScript = new QPlainTextEdit(Frame1);
    txtScript->setObjectName(QStringLiteral("txtScript"));
    txtScript->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtScript->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtScript->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtScript->setMinimumSize(360, 200);
    KeyUpFilter::install(txtScript, [this](int) { txtScript_KeyUp(); });
    cmdsave = namedButton(Frame1, "cmdsave", QStringLiteral("&Save Script"));
    auto* frameLayout = new QGridLayout(Frame1);
    frameLayout->addWidget(new QLabel(QStringLiteral("Available Reports:"), Frame1), 0, 0);
    frameLayout->addWidget(new QLabel(QStringLiteral("Script:"), Frame1), 0, 1);
    frameLayout->addWidget(lstReports, 1, 0);
    frameLayout->addWidget(txtScript, 1, 1);
    frameLayout->addWidget(cmdsave, 2, 1, Qt::AlignRight);
    frameLayout->setColumnStretch(1, 1);

    lstCommands = new QListWidget(this);
    lstCommands->setObjectName(QStringLiteral("lstCommands"));
    lstCommands->setVisible(false);
    lstDivisionHidden = new QListWidget(this);
    lstDivisionHidden->setObjectName(QStringLiteral("lstDivisionHidden"));
    lstDivisionHidden->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(boxes);
    layout->addLayout(buttons);
    layout->addWidget(Frame1, 1);

    connect(cboSites, &QComboBox::currentIndexChanged, this, [this](int) { cboSites_Click(); });
    connect(lstReports, &QListWidget::currentRowChanged, this, [this](int) { lstReports_Click(); });
    // Pressed, not clicked: a click's release also follows a double click and would empty the
    // script the double click has just shown.
    connect(lstReports, &QListWidget::itemPressed, this,
            [this](QListWidgetItem*) { lstReports_Click(); });
    connect(lstReports, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem*) { lstReports_DblClick(); });
    connect(cmdsave, &QPushButton::clicked, this, [this] { cmdsave_Click(); });
    connect(cmdmodify, &QPushButton::clicked, this, [this] { cmdmodify_Click(); });
    connect(cmdcancel, &QPushButton::clicked, this, [this] { cmdcancel_Click(); });
    connect(cmdNewSite, &QPushButton::clicked, this, [this] { cmdNewSite_Click(); });

    Form_Load();
}

fSites::~fSites() = default;

QList<QLineEdit*> fSites::connectionBoxes() const {
    return {txtIPAddress, txtSSHPort, txtTelnetPort, txtUserName,
            txtPassword,  txthomedir, txtlogin};
}

void fSites::setConnectionBoxesEnabled(bool on) {
    for (QLineEdit* box : connectionBoxes()) box->setEnabled(on);
}

void fSites::setFrameCaption() {
    Frame1->setTitle(QStringLiteral("Edit Scripts for Site '") + cboSites->currentText() +
                     QStringLiteral("'"));
}

void fSites::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_placed) return;
    m_placed = true;
    // Centred, then 200 twips to the left and 800 twips up (1440 twips to the inch).
    const QScreen* screen = this->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const double dpi = screen->logicalDotsPerInch();
    const int left = (area.width() - width()) / 2 - static_cast<int>(200 * dpi / 1440);
    const int up = (area.height() - height()) / 2 - static_cast<int>(800 * dpi / 1440);
    move(area.x() + std::max(0, left), area.y() + std::max(0, up));
}

void fSites::unload() {
    close();
}

void fSites::Form_Load() {
    {
        const QSignalBlocker quiet(lstReports);
        lstReports->clear();
        const auto& entries = reportScriptEntries();
        for (size_t i = 0; i < entries.size(); ++i) {
            lstReports->addItem(QString::fromLatin1(entries[i].title));
            ScriptFileNames[i] = QString::fromLatin1(entries[i].fileName);
        }
        lstReports->setMinimumWidth(lstReports->sizeHintForColumn(0) +
                                    2 * lstReports->frameWidth() + 4);
    }
    if (const MainWindowPort* main = MainWindowPort::instance(); main && main->isLoaded()) {
        const QSignalBlocker quiet(cboSites);
        cboSites->addItems(main->siteNames());
    }
    if (cboSites->count() > 0) {
        {
            const QSignalBlocker quiet(cboSites);
            cboSites->setCurrentIndex(-1);
        }
        cboSites->setCurrentIndex(0);
    }
    setConnectionBoxesEnabled(false);
    cmdsave->setEnabled(false);
    txtScript->setEnabled(false);
    setFrameCaption();

    if (G().g_ButtonNames[1].isEmpty()) fillButtonCatalogue();
    lstDivisionHidden->clear();
    lstDivisionHidden->addItems(
        defaultButtonNames(G().g_ButtonNames, G().g_Express, G().g_UnusedReport));
}

void fSites::cboSites_Click() {
    setFrameCaption();
    const int i = cboSites->currentIndex();
    const bool inTable = i >= 0 && i < kMaxSites;
    const Globals& g = G();
    txtIPAddress->setText(inTable ? g.g_SiteIPAddress[i] : QString());
    txtSSHPort->setText(inTable ? g.g_SiteSSHPort[i] : QString());
    txtTelnetPort->setText(inTable ? g.g_SiteTelnetPort[i] : QString());
    txtUserName->setText(inTable ? g.g_SiteUsername[i] : QString());
    txtPassword->setText(inTable ? g.g_SitePassword[i] : QString());
    txthomedir->setText(inTable ? g.g_SiteHomedir[i] : QString());
    txtlogin->setText(inTable ? g.g_SiteSSHUser[i] : QString());
    txtScript->clear();
    {
        const QSignalBlocker quiet(lstReports);
        lstReports->setCurrentRow(-1);
        lstReports->clearSelection();
    }
    lstReports_Click();
}

void fSites::lstReports_Click() {
    cmdsave->setEnabled(false);
    txtScript->clear();
    txtScript->setEnabled(false);
}

void fSites::lstReports_DblClick() {
    const int index = lstReports->currentRow();
    if (index < 0 || index >= static_cast<int>(ScriptFileNames.size())) return;
    txtScript->setEnabled(true);
    QString site = cboSites->currentText();
    site.replace(QLatin1Char(' '), QLatin1Char('_'));
    ScriptPath = siteScriptPath(site, ScriptFileNames[index]);
    txtScript->clear();
    QString text;
    QString error;
    if (!readScriptForEditing(ScriptPath, &text, &error)) {
        // The box stays open, so a missing script can be written afresh.
        tell(QStringLiteral("The script file could not be read:") + kCrLf + ScriptPath + kCrLf +
                 kCrLf + error,
             platform::Icon::Exclamation, titles::kConfigureSites);
        return;
    }
    text.replace(kCrLf, QStringLiteral("\n"));
    txtScript->setPlainText(text);
}

void fSites::txtScript_KeyUp() {
    cmdsave->setEnabled(!blankTrimmed(txtScript->toPlainText()).isEmpty());
}

void fSites::cmdsave_Click() {
    BusyPointer busy(this);
    const QListWidgetItem* item = lstReports->currentItem();
    const QString title = item ? item->text() : QString();
    const auto answer = platform::Prompter::instance().message(
        QStringLiteral("Are you sure you want to update") + kCrLf + QStringLiteral("script '") +
            title + QStringLiteral("' for Site '") + cboSites->currentText() + QStringLiteral("'?"),
        titles::kConfigureSites, platform::Icon::Exclamation, platform::Buttons::YesNo);
    if (answer == platform::Answer::Yes) {
        QString error;
        if (ScriptPath.isEmpty()) error = QStringLiteral("No script is shown.");
        if (!error.isEmpty() || !saveScriptText(ScriptPath, txtScript->toPlainText(), &error)) {
            busy.release();
            tell(QStringLiteral("An error occurred saving script:") + kCrLf + kCrLf + error,
                 platform::Icon::Critical, titles::kConfigureSites);
            return;
        }
        tell(QStringLiteral("Script saved successfully."), platform::Icon::Information,
             titles::kConfigureSites);
    }
    cmdsave->setEnabled(false);
    busy.release();
    QCoreApplication::processEvents();
}

void fSites::cmdmodify_Click() {
    const int i = cboSites->currentIndex();
    const QString site = blankTrimmed(cboSites->currentText());
    // Default's Bats folder holds the templates, whatever its place in the list.
    if (i == 0 || isReservedSiteName(site)) {
        tell(kDefaultSiteRefusal);
        return;
    }
    if (i < 0 || i >= kMaxSites || !isSafeSiteFolderName(site)) {
        tell(QStringLiteral("The site name '") + site +
                 QStringLiteral("' cannot be used as a folder name.") + kCrLf +
                 QStringLiteral("The site was not modified."),
             platform::Icon::Exclamation, titles::kConfigureSites);
        return;
    }

    if (cmdmodify->text() == kModifyCaption) {
        const bool go =
            ask(QStringLiteral("Changing these values could cause your Network GUI to become "
                               "inoperable.") +
                    kCrLf + QStringLiteral("Contact Varnel Support if you require assistance.") +
                    kCrLf + QStringLiteral("Do you wish to continue?"),
                titles::kConfigureSites);
        if (!go) {
            unload();
            return;
        }
        cmdmodify->setText(kSaveCaption);
        cmdNewSite->setEnabled(false);
        setConnectionBoxesEnabled(true);
        return;
    }

    // Refused while the boxes are still open for a correction.
    if (const auto problem = siteTextProblem({site, txtIPAddress->text(), txtSSHPort->text(),
                                              txtTelnetPort->text(), txtUserName->text(),
                                              txtPassword->text(), txthomedir->text(),
                                              txtlogin->text()})) {
        tell(*problem, platform::Icon::Exclamation, titles::kConfigureSites);
        return;
    }
    cmdNewSite->setEnabled(true);
    const bool go =
        ask(QStringLiteral("Changing these values could cause your Network GUI to become "
                           "inoperable.") +
                kCrLf + QStringLiteral("Are you sure you want to modify this site.") + kCrLf +
                QStringLiteral("Do you wish to continue?"),
            titles::kConfigureSites);
    if (!go) return;

    const QString bats = siteBatsFolder(site);
    DeleteFolderTree(bats);
    // A link that stayed would take the copies into whatever it points to.
    if (!removeFolderLink(bats)) return;
    QDir().mkpath(bats);
    CopySiteScripts(site, txtSSHPort->text(), txtIPAddress->text(), txtUserName->text(),
                    txtPassword->text(), txthomedir->text(), txtlogin->text());

    const platform::ProfileFile ini(configurationFilePath());
    const QString section = config::siteSection(i + 1);
    const QList<std::pair<QString, QString>> keys = {
        {config::kName, site},
        {config::kIPAddress, txtIPAddress->text()},
        {config::kSSHPort, txtSSHPort->text()},
        {config::kTelnetPort, txtTelnetPort->text()},
        {config::kUserName, txtUserName->text()},
        {config::kPassword, txtPassword->text()},
        {config::kHomedir, txthomedir->text()},
        {config::kSSHUser, txtlogin->text()},
    };
    bool saved = true;
    for (const auto& [key, value] : keys) saved = ini.write(section, key, value) && saved;
    keepConfigurationPrivate();
    // Saying "saved" here would lose the change at the next start without a word; the window
    // stays open so that the save can be tried again.
    if (!saved) {
        tell(
            QStringLiteral("The changes could not be saved in ") + ini.path() + QStringLiteral("."),
            platform::Icon::Critical, titles::kConfigureSites);
        return;
    }

    Globals& g = G();
    g.g_SiteIPAddress[i] = blankTrimmed(txtIPAddress->text());
    g.g_SiteSSHPort[i] = blankTrimmed(txtSSHPort->text());
    g.g_SiteTelnetPort[i] = blankTrimmed(txtTelnetPort->text());
    g.g_SiteUsername[i] = blankTrimmed(txtUserName->text());
    g.g_SitePassword[i] = blankTrimmed(txtPassword->text());
    g.g_SiteHomedir[i] = blankTrimmed(txthomedir->text());
    g.g_SiteSSHUser[i] = blankTrimmed(txtlogin->text());

    tell(QStringLiteral("Changes have been saved"));
    unload();
}

void fSites::cmdcancel_Click() {
    if (cmdNewSite->text() != kNewSiteCaption) {
        leaveNewSiteEntry();
        setConnectionBoxesEnabled(false);
        cmdmodify->setEnabled(true);
        cboSites_Click();
        return;
    }
    unload();
}

void fSites::leaveNewSiteEntry() {
    Label1->setText(QStringLiteral("Current Sites:"));
    txtSiteName->setVisible(false);
    cboSites->setVisible(true);
    cmdNewSite->setText(kNewSiteCaption);
}

void fSites::cmdNewSite_Click() {
    if (cmdNewSite->text() == kNewSiteCaption) {
        cmdmodify->setEnabled(false);
        Label1->setText(QStringLiteral("Site Name:"));
        cboSites->setVisible(false);
        txtSiteName->setVisible(true);
        cmdNewSite->setText(kAddSiteCaption);
        txtSiteName->setFocus();
        setConnectionBoxesEnabled(true);
        txtSSHPort->setText(QStringLiteral("22"));
        txtTelnetPort->setText(QStringLiteral("23"));
        txtlogin->setText(QStringLiteral("varneltail"));
        return;
    }
    addNewSite();
}

void fSites::reportAddFailure(const QString& description) {
    tell(QStringLiteral("An error occurred adding a Site:") + kCrLf + kCrLf + description,
         platform::Icon::Critical, titles::kConfigureSites);
}

void fSites::addNewSite() {
    cmdmodify->setEnabled(true);
    // Taken once: the boxes are refilled from the site table before the set-up has run.
    const NewSiteEntry entry{txtSiteName->text(),   txtIPAddress->text(), txtSSHPort->text(),
                             txtTelnetPort->text(), txtUserName->text(),  txtPassword->text(),
                             txthomedir->text(),    txtlogin->text()};
    const QString name = newSiteName(entry.siteName);
    const auto refusal = [&] {
        QStringList sites;
        for (int k = 0; k < cboSites->count(); ++k) sites << cboSites->itemText(k);
        const bool taken = isSafeSiteFolderName(name) && siteFolderExists(name);
        return newSiteRefusal(entry, sites, G().g_SiteCount,
                              taken ? platform::SystemInfo::path(name) : QString());
    };
    const auto refuse = [this](const NewSiteRefusal& r) {
        if (r.failure)
            reportAddFailure(r.text);
        else
            tell(r.text, platform::Icon::Exclamation, titles::kConfigureSites);
    };
    if (const auto r = refusal(); r && !r->afterQuestion) return refuse(*r);

    const QString ip = blankTrimmed(entry.ipAddress);
    const QString port = blankTrimmed(entry.sshPort);
    const bool go = ask(QStringLiteral("Are you sure you want to add new Site") + kCrLf +
                            QStringLiteral("called '") + blankTrimmed(entry.siteName) +
                            QStringLiteral("'") + kCrLf + QStringLiteral("with IP Address '") + ip +
                            QStringLiteral(" with SSH Port ") + port + QStringLiteral(" ?"),
                        titles::kConfigureSites);
    if (!go) return;
    if (const auto r = refusal()) return refuse(*r);

    BusyPointer busy(this);
    // One set-up at a time: nothing in the window answers until it is over.
    setEnabled(false);
    const auto failed = [&](const QString& description) {
        busy.release();
        setEnabled(true);
        reportAddFailure(description);
    };
    int siteNumber = 0;
    if (const auto error = addLocalSite(name, entry, siteNumber)) return failed(*error);
    if (const auto error = setUpNewServer(siteNumber, entry)) return failed(*error);

    if (MainWindowPort* main = MainWindowPort::instance()) main->addSiteName(name);
    leaveNewSiteEntry();
    txtIPAddress->setEnabled(false);
    cboSites_Click();
    busy.release();
    setEnabled(true);
    unload();
    endProgram();
}

std::optional<QString> fSites::addLocalSite(const QString& name, const NewSiteEntry& entry,
                                            int& siteNumber) {
    const QString ip = blankTrimmed(entry.ipAddress);
    QString error;
    QStringList createdFolders;
    if (!createSiteFolders(name, &error, &createdFolders)) return error;
    CopySiteScripts(name, entry.sshPort, ip, entry.userName, entry.password, entry.homedir,
                    entry.login);

    G().g_SiteCount += 1;
    siteNumber = G().g_SiteCount;
    // The program ends once the server is set up, and the site is known from the file alone.
    if (!writeNewSiteConfiguration(siteNumber, name, entry, G().g_Brevia)) {
        G().g_SiteCount -= 1;  // the next try takes the same section
        // Nor may it find the folders of this try, which it would take for another site's.
        removeCreatedSiteFolders(createdFolders);
        return QStringLiteral("The site could not be written to %1.").arg(configurationFilePath());
    }

    Label1->setText(QStringLiteral("Current Sites:"));
    {
        const QSignalBlocker quiet(cboSites);
        cboSites->addItem(name);
    }
    fillSiteTableEntry(siteNumber - 1, ip, entry);
    return std::nullopt;
}

std::optional<QString> fSites::setUpNewServer(int siteNumber, const NewSiteEntry& entry) {
    // The site table's new entry: the address and port as typed, the typed shell login.
    ServerFailure failure;
    const std::unique_ptr<ServerShell> wodSSH1 = ServerWork::instance().openShell(
        shellRequestForSite(siteNumber - 1, SiteFolder::Login, kShellControl), failure);
    if (!wodSSH1) return failure.text;
    QStringList queue;
    QStringList names;
    for (int k = 0; k < lstDivisionHidden->count(); ++k)
        names << lstDivisionHidden->item(k)->text();
    const SetupOutcome outcome = runServerSetup(*wodSSH1, entry.homedir, entry.login, names, queue);
    lstCommands->clear();
    lstCommands->addItems(queue);
    wodSSH1->close();
    if (!outcome.ok) return outcome.message;
    return std::nullopt;
}

void fSites::DeleteFolderTree(const QString& folder) {
    if (!deleteFolderTree(folder))
        tell(QStringLiteral("Some files in the folder could not be deleted:") + kCrLf + folder,
             platform::Icon::Exclamation, titles::kConfigureSites);
}

void fSites::CopySiteScripts(const QString& site, const QString& sshPort, const QString& ipAddress,
                             const QString& userName, const QString& password,
                             const QString& homeDir, const QString& sshUser) {
    const ScriptCopyResult result =
        copySiteScriptFiles({site, sshPort, ipAddress, userName, password, homeDir, sshUser});
    if (!result.ok)
        tell(QStringLiteral("An error occurred copying Bat files:") + kCrLf + kCrLf + result.error,
             platform::Icon::Critical, titles::kConfigureSites);
}

}  // namespace quillon
