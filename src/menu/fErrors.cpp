// The "Error Report" window: the error files pulled once more, shown, removed from the server
// and kept as dated copies.
#include "menu/fErrors.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/ProgramClock.h"
#include "common/SiteContext.h"
#include "common/TextFormats.h"
#include "menu/ErrorFiles.h"
#include "menu/ServerUtilities.h"
#include "platform/DocumentViewer.h"
#include "platform/Prompter.h"
#include "remote/ShellControl.h"
#include "widgets/LongWaitCancel.h"
#include "widgets/WaitPanel.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

namespace quillon {

namespace {

// The name of the site the main window has selected; its folder holds the error copies.
QString currentSiteName() {
    return SiteContext::current().name();
}

}  // namespace

fErrors::fErrors(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fErrors"));
    setWindowTitle(QStringLiteral("Error Report"));

    Frame1 = new QGroupBox;
    Frame1->setObjectName(QStringLiteral("Frame1"));
    File1 = new QListWidget;
    File1->setObjectName(QStringLiteral("File1"));
    File1->setMinimumSize(260, 140);
    chksave = new QCheckBox(QStringLiteral("Save Files locally"));
    chksave->setObjectName(QStringLiteral("chksave"));
    cmdrmerror = new QPushButton(QStringLiteral("&Remove Errors"));
    cmdrmerror->setObjectName(QStringLiteral("cmdrmerror"));
    cmdrmerror->setAutoDefault(false);
    cmdcancel = new QPushButton(QStringLiteral("&Cancel"));
    cmdcancel->setObjectName(QStringLiteral("cmdcancel"));
    cmdcancel->setAutoDefault(false);

    auto* inner = new QVBoxLayout(Frame1);
    inner->addWidget(File1, 1);
    inner->addWidget(chksave);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdrmerror);
    buttons->addStretch();
    buttons->addWidget(cmdcancel);
    inner->addLayout(buttons);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(Frame1);
    outer->addWidget(new WaitPanel(this, WaitPanel::Cancel::AnyWait), 0, Qt::AlignRight);

    connect(File1, &QListWidget::itemDoubleClicked, this, [this] { File1_DblClick(); });
    connect(cmdrmerror, &QPushButton::clicked, this, &fErrors::cmdrmerror_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &fErrors::cmdcancel_Click);

    Form_Load();
}

fErrors::~fErrors() {
    if (!m_unloaded) Form_Unload();
}

void fErrors::Form_Load() {
    chksave->setChecked(true);
    m_folder = errorFolder(currentSiteName());
    geterrorcsvfiles(QString());
    // Listed after the pull, so the list holds the copies that are there now.
    refreshList();
}

void fErrors::refreshList() {
    File1->clear();
    File1->addItems(listErrorFiles(m_folder));
}

void fErrors::geterrorcsvfiles(const QString&) {
    const ErrorPullResult result =
        pullErrorFiles(filesRequestForSite(SiteContext::current().index()), m_folder);
    if (!result.skipped && !result.error.isEmpty() &&
        !toldCancelledWait(QStringLiteral("Fetching the error files"), result.code))
        tell(QStringLiteral("The error files could not be fetched from the server.") + kCrLf +
                 kCrLf + result.error,
             platform::Icon::Exclamation);
}

void fErrors::File1_DblClick() {
    const QListWidgetItem* item = File1->currentItem();
    if (!item) return;
    const QString path = m_folder + QLatin1Char('/') + item->text();
    if (!platform::DocumentViewer::instance().open(path))
        tell(QStringLiteral("The file could not be opened:") + kCrLf + path,
             platform::Icon::Exclamation);
}

QString fErrors::askSaveName(const QString& entry) {
    platform::Prompter& prompter = platform::Prompter::instance();
    std::optional<QString> answer =
        prompter.input(QStringLiteral("Enter a name for the ERROR file :"), titles::kSaveFile,
                       savedCopyName(programNow(), entry));
    for (;;) {
        // Cancel or no name keeps the file as it is.
        if (!answer || answer->trimmed().isEmpty()) return QString();
        if (!isUsableCopyName(*answer) || !FileExists(m_folder + QLatin1Char('/') + *answer))
            return *answer;
        answer = prompter.input(QStringLiteral("The filename you entered already exists.") + kCrLf +
                                    QStringLiteral("Enter a new name for the downloaded report:"),
                                titles::kRenameFile, *answer);
    }
}

void fErrors::cmdrmerror_Click() {
    const bool sure = ask(QStringLiteral("Are you sure you want to delete the Error files from "
                                         "the call accounting system?") +
                              kCrLf,
                          titles::kConfigureSites);
    if (!sure) {
        reject();
        return;
    }

    QStringList entries;
    for (int i = 0; i < File1->count(); ++i) entries << File1->item(i)->text();
    const QStringList lines = removalLines(entries);

    QPointer<fErrors> self(this);
    // The removal runs in the shell login's start folder (session wodSSH1). With no known
    // copy listed there is nothing to remove, and no server to wait for.
    const CheckedRun run =
        lines.isEmpty() ? CheckedRun{}
                        : runCheckedLines(shellRequestForSite(SiteContext::current().index(),
                                                              SiteFolder::Login, kShellControl),
                                          lines);
    if (!self) return;

    // The file a removal line names is its last word.
    const auto fileOf = [&](int i) { return run.lines[i].line.section(QLatin1Char(' '), -1); };
    QSet<QString> removed;
    for (int i = 0; i < run.lines.size(); ++i)
        if (run.lines[i].ok) removed.insert(fileOf(i));
    if ((!run.error.isEmpty() || !run.allOk()) &&
        toldCancelledWait(QStringLiteral("The removal"), run.code)) {
        // Told; the list below still shows what is left.
    } else if (!run.error.isEmpty()) {
        tell(QStringLiteral("The error files were not removed from the server.") + kCrLf + kCrLf +
                 run.error,
             platform::Icon::Exclamation);
    } else if (!run.allOk()) {
        tell(QStringLiteral("These error files could not be removed from the server:") + kCrLf +
                 failureLines(run, fileOf),
             platform::Icon::Exclamation);
    }

    if (chksave->isChecked()) {
        QStringList problems;
        for (int i = 0; i < entries.size(); ++i) {
            File1->setCurrentRow(i);
            const QString name = askSaveName(entries[i]);
            if (name.isEmpty()) continue;
            if (!isUsableCopyName(name)) {
                problems << QStringLiteral("%1: \"%2\" is not a file name").arg(entries[i], name);
                continue;
            }
            if (!QFile::rename(m_folder + QLatin1Char('/') + entries[i],
                               m_folder + QLatin1Char('/') + name))
                problems << QStringLiteral("%1 could not be renamed to %2").arg(entries[i], name);
        }
        if (!problems.isEmpty())
            tell(QStringLiteral("Some error files were not saved:") + kCrLf + kCrLf +
                     problems.join(kCrLf),
                 platform::Icon::Exclamation);
    } else {
        // Copies of files gone from the server go too; the user's own files stay.
        for (const QString& entry : entries) {
            const QString file = serverFileOfCopy(entry);
            if (!file.isEmpty() && removed.contains(file))
                QFile::remove(m_folder + QLatin1Char('/') + entry);
        }
    }
    reject();
}

void fErrors::cmdcancel_Click() {
    reject();
}

void fErrors::done(int result) {
    if (!m_unloaded) Form_Unload();
    QDialog::done(result);
}

void fErrors::Form_Unload() {
    m_unloaded = true;
    G().g_PullErrors = true;
}

}  // namespace quillon
