#include "rates/fcallcalc.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/ProgramClock.h"
#include "common/SiteContext.h"
#include "platform/DocumentViewer.h"
#include "platform/FileLookup.h"
#include "rates/PricingReport.h"
#include "remote/FetchFile.h"
#include "remote/ServerWork.h"
#include "reports/common/ReportTable.h"
#include "reports/common/SelectionTable.h"
#include "widgets/KeyedPickList.h"
#include "widgets/NamedControls.h"
#include "widgets/NumericTextFilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

namespace {
constexpr int kBoxLength = 3;
const QString kInternationalCode = QStringLiteral("011");

// The request file's record: the four fields joined by commas, no blanks.
constexpr EchoShape kRecordShape{.blanksAfterEcho = 1, .blanksBeforeRedirect = 0, .creates = true};

// The site's folders, made when missing; "" for a site whose name cannot name a folder.
QString madeSiteFolder(const QString& site, const QString& relative) {
    const QString folder = sitePath(site, relative);
    if (!folder.isEmpty()) QDir().mkpath(folder);
    return folder;
}

QString callCalcFolder(const QString& site) {
    return madeSiteFolder(site, QStringLiteral("Download/Call_Calc"));
}
}  // namespace

fcallcalc::fcallcalc(QWidget* parent) : ReportWindow(reportkinds::callCost, QString(), parent) {
    setObjectName(QStringLiteral("fcallcalc"));
    setWindowTitle(QStringLiteral("Call Calculator"));
    setModal(true);

    const auto box = [this](const char* name) {
        QLineEdit* b = namedBox(this, QString::fromLatin1(name));
        connect(b, &QLineEdit::textChanged, b, [b] { applyDigitsOnlyFilter(b); });
        return b;
    };
    Lblareacode =
        namedLabel(this, QStringLiteral("Lblareacode"), QStringLiteral("Enter Area Code"));
    txtarea = box("txtarea");
    lblprefix = namedLabel(this, QStringLiteral("lblprefix"), QStringLiteral("Enter Prefix"));
    txtprefix = box("txtprefix");
    lblduration = namedLabel(this, QStringLiteral("lblduration"), QStringLiteral("Enter Duration"));
    txtduration = box("txtduration");
    chkinternational = namedCheckBox(this, QStringLiteral("chkinternational"),
                                     QStringLiteral("International call"));
    connect(chkinternational, &QCheckBox::toggled, this, &fcallcalc::chkinternational_Click);
    Label5 = namedLabel(this, QStringLiteral("Label5"), QStringLiteral("Choose Line Type"));
    cboDivision =
        new KeyedPickList(this, QStringLiteral("cboDivision"), QStringLiteral("cboDivisionhidden"));

    auto* grid = new QGridLayout;
    grid->addWidget(Lblareacode, 0, 0);
    grid->addWidget(txtarea, 0, 1);
    grid->addWidget(chkinternational, 0, 2);
    grid->addWidget(lblprefix, 1, 0);
    grid->addWidget(txtprefix, 1, 1);
    grid->addWidget(lblduration, 2, 0);
    grid->addWidget(txtduration, 2, 1);
    grid->addWidget(Label5, 3, 0);
    grid->addWidget(cboDivision->shown(), 3, 1, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buildRunBox());
    noDefaultButtons();

    Form_Load();
}

fcallcalc::~fcallcalc() = default;

void fcallcalc::Form_Load() {
    WriteDebugLog(QStringLiteral("Call Calc Form Load Called"));
    const SelectionTable lineTypes = loadSiteTable(QStringLiteral("lt.csv"), true);
    cboDivision->setEntries(lineTypes.entries);
    for (QLineEdit* b : {txtarea, txtprefix, txtduration}) b->setMaxLength(kBoxLength);
    callCalcFolder(SiteContext::current().name());
    // The progress dots run from the start; the label shows once a run begins.
    tmrreport->start();
    lineTypes.tellProblem();
}

void fcallcalc::chkinternational_Click() {
    const bool international = chkinternational->isChecked();
    Lblareacode->setText(international ? QStringLiteral("International Code")
                                       : QStringLiteral("Area Code"));
    lblprefix->setText(international ? QStringLiteral("Country Code") : QStringLiteral("Prefix"));
    txtarea->setText(international ? kInternationalCode : QString());
    txtarea->setEnabled(!international);
}

QString fcallcalc::downloadFolder() const {
    return madeSiteFolder(SiteContext::current().name(), QStringLiteral("Download"));
}

QString fcallcalc::answerPath() const {
    return downloadFolder() + QLatin1Char('/') + GetPCName() + QStringLiteral("_CCAL.repunix");
}

QString fcallcalc::reportPath() const {
    return downloadFolder() + QLatin1Char('/') + GetPCName() + QLatin1Char('_') + m_area +
           QLatin1Char('-') + m_prefix + QStringLiteral("_CCAL.rtf");
}

QStringList fcallcalc::checksBeforeRun() {
    QStringList problems;
    if (cboDivision->currentIndex() < 0) problems << QStringLiteral("You must choose a line type");
    if (txtarea->text().isEmpty()) problems << QStringLiteral("You must enter an area code.");
    if (txtprefix->text().isEmpty()) problems << QStringLiteral("You must enter a prefix");
    if (txtduration->text().isEmpty()) problems << QStringLiteral("You must enter a duration");
    return problems;
}

void fcallcalc::queueRequest(ReportRequest& request) {
    m_area = txtarea->text();
    m_prefix = txtprefix->text();
    request.addEcho(m_area + QLatin1Char(',') + m_prefix + QLatin1Char(',') +
                        txtduration->text() + QLatin1Char(',') + cboDivision->currentKey(),
                    kRecordShape);
}

std::optional<QString> fcallcalc::refusal(const ReportRequest&) {
    // A site whose name cannot name a folder has no answer or report file here.
    if (const QString refused = unusableSiteText(SiteContext::current().name(), -1);
        !refused.isEmpty())
        return refused;
    // An answer left from an earlier call must never be read as this one's.
    const QString answer = answerPath();
    DeleteFileIfExists(answer);
    if (QFile::exists(answer))
        return QStringLiteral("The answer of an earlier call, %1, could not be removed.")
            .arg(QDir::toNativeSeparators(answer));
    return std::nullopt;
}

bool fcallcalc::bringAnswer() {
    const QString answer = answerPath();
    const QString report = reportPath();
    const bool backup = G().g_BackupReportsMode;
    const int site = SiteContext::current().index();
    const QString remote = siteServerFolder(site, backup) + QLatin1Char('/') + G().g_ReportFileName;
    const auto failed = [this, &answer](const QString& message) {
        DeleteFileIfExists(answer);
        WriteDebugLog(message);
        setBusy(false);
        tell(message, platform::Icon::Critical);
        return false;
    };

    const ServerFailure failure = fetchFile(filesRequestForSite(site), remote, answer);
    if (!failure.ok())
        return failed(
            QStringLiteral("The price of the call could not be brought back from the server "
                           "(%1): %2")
                .arg(remote, failure.text));

    QFile in(answer);
    QString error;
    std::optional<CallCostAnswer> read;
    if (in.open(QIODevice::ReadOnly))
        read = readCallCostAnswer(in.readAll(), &error);
    else
        error = in.errorString();
    in.close();
    if (!read)
        return failed(
            QStringLiteral("The server's answer %1 cannot be read: %2").arg(remote, error));
    if (read->areaCode() != m_area || read->prefix() != m_prefix)
        return failed(
            QStringLiteral("The server's answer prices another call (%1-%2), not %3-%4. No "
                           "report was made; please run the calculator again.")
                .arg(read->areaCode(), read->prefix(), m_area, m_prefix));
    if (WritePricingReport(answer, report, programNow(), &error) != 0)
        return failed(error);
    return true;
}

void fcallcalc::logRunStarted() {
    // The calculator's own spelling, with its trailing blank.
    WriteDebugLog(QStringLiteral("RUNNING REPORT "));
}

void fcallcalc::logRunDone() {
    // Once before the session ends and once after it, as the calculator has always written.
    WriteDebugLog(QStringLiteral("DONE RUNNING REPORT"));
    WriteDebugLog(QStringLiteral("DONE RUNNING REPORT"));
}

void fcallcalc::finishRun() {
    if (!bringAnswer()) return;
    const QString answer = answerPath();
    const QString report = reportPath();
    const QString bareName = QFileInfo(report).fileName();
    accept();
    DeleteFileIfExists(answer);

    WriteDebugLog(QStringLiteral("STARTING RENAME"));
    const SavedReport saved =
        saveFetchedReport(report, callCalcFolder(SiteContext::current().name()),
                          proposedReportName(bareName, programNow()));
    if (saved.outcome == SavedReport::Cancelled) return;
    if (saved.outcome == SavedReport::Failed) {
        tell(saved.error, platform::Icon::Critical);
        return;
    }
    WriteDebugLog(QStringLiteral("BRING UP REPORT IN STXT"));
    platform::DocumentViewer::instance().open(saved.path);
}

}  // namespace quillon
