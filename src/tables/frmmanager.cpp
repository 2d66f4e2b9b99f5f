#include "tables/frmmanager.h"

#include "common/CommonFunctions.h"
#include "common/ExcelFileV2.h"
#include "common/Globals.h"
#include "common/GridExport.h"
#include "common/Messages.h"
#include "common/ProgramClock.h"
#include "common/SiteContext.h"
#include "common/TextFormats.h"
#include "tables/OrgTables.h"
#include "widgets/BusyPointer.h"
#include "widgets/SortableGrid.h"
#include "widgets/Timers.h"
#include "widgets/WaitPanel.h"
#include "widgets/WindowRegistry.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

namespace {
const QString kHtmlFile = QStringLiteral("HTML File");
const QString kExcelFile = QStringLiteral("Excel File");
const QString kCsvFile = QStringLiteral("CSV File");
}  // namespace

frmmanager::frmmanager(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmmanager"));
    setWindowTitle(QStringLiteral("Manager"));
    setModal(true);

    auto* options = new QGroupBox(this);
    auto* optionRow = new QHBoxLayout(options);
    for (int i = 0; i < 4; ++i) {
        Optreporttype[i] = new QRadioButton(orgTable(i).option, options);
        Optreporttype[i]->setObjectName(QStringLiteral("Optreporttype_%1").arg(i));
        optionRow->addWidget(Optreporttype[i]);
        connect(Optreporttype[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Optreporttype_Click(i);
        });
    }

    MSFlexGrid1 = new SortableGrid(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    connect(MSFlexGrid1, &SortableGrid::rowDoubleClicked, this, &frmmanager::MSFlexGrid1_DblClick);

    cmdadd = new QPushButton(QStringLiteral("Add"), this);
    cmdadd->setObjectName(QStringLiteral("cmdadd"));
    cmdadd->setToolTip(QStringLiteral("Click to Add"));
    cmdmodify = new QPushButton(QStringLiteral("Modify"), this);
    cmdmodify->setObjectName(QStringLiteral("cmdmodify"));
    cmdmodify->setToolTip(
        QStringLiteral("Select row to modify then click modify or double click on the row you "
                       "want to modify "));
    cboExport = new QComboBox(this);
    cboExport->setObjectName(QStringLiteral("cboExport"));
    // Sized to its longest text, and never squeezed below it by a narrow window.
    cboExport->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cboExport->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    cmdExport = new QPushButton(QStringLiteral("Export Type"), this);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    cmdExport->setToolTip(QStringLiteral("Export data as it is sorted to HTML"));
    cmdsaveascsv = new QPushButton(QStringLiteral("Export csv"), this);
    cmdsaveascsv->setObjectName(QStringLiteral("cmdsaveascsv"));
    for (QPushButton* b : {cmdadd, cmdmodify, cmdExport, cmdsaveascsv}) b->setAutoDefault(false);
    connect(cmdadd, &QPushButton::clicked, this, &frmmanager::cmdadd_Click);
    connect(cmdmodify, &QPushButton::clicked, this, &frmmanager::cmdmodify_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmmanager::cmdExport_Click);
    connect(cmdsaveascsv, &QPushButton::clicked, this, &frmmanager::cmdsaveascsv_Click);

    tmrShowMe = makeTimer(this, QStringLiteral("tmrShowMe"), 10, TimerShot::Single,
                          [this] { tmrShowMe_Timer(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdadd);
    buttons->addWidget(cmdmodify);
    buttons->addStretch(1);
    buttons->addWidget(cboExport);
    buttons->addWidget(cmdExport);
    buttons->addWidget(cmdsaveascsv);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addWidget(MSFlexGrid1, 1);
    layout->addLayout(buttons);
    layout->addWidget(new WaitPanel(this, WaitPanel::Cancel::AnyWait), 0, Qt::AlignRight);

    Form_Load();
}

frmmanager::~frmmanager() = default;

void frmmanager::Form_Load() {
    Optreporttype[3]->setChecked(true);
    cboExport->addItems({kHtmlFile, kExcelFile});
    cboExport->setCurrentIndex(0);
}

void frmmanager::Optreporttype_Click(int index) {
    const OrgTable& table = orgTable(index);
    m_index = table.index;
    if (!Optreporttype[m_index]->isChecked()) {
        const QSignalBlocker quiet(Optreporttype[m_index]);
        Optreporttype[m_index]->setChecked(true);
    }
    WriteDebugLog(QStringLiteral("Loading %1 Grid").arg(table.gridName));
    BusyPointer busy(this);
    OrgRows rows = loadOrgRows(table);
    MSFlexGrid1->load(table.headers, std::move(rows.rows));
    WriteDebugLog(QStringLiteral("Done Loading %1 Grid").arg(table.gridName));
    MSFlexGrid1->AutoSizeGrid();
    busy.release();
    if (!rows.problem.isEmpty()) tell(rows.problem, platform::Icon::Exclamation);
}

void frmmanager::openForm(const QString& window, const QStringList& row) {
    const int index = m_index;
    // The form is modal over this window, which stays where it is (a modal window that hid
    // itself would end its own wait); once the form has closed the table shows afresh.
    if (!openWindowOrTell(window, this, QVariant(row))) return;
    Optreporttype_Click(index);
    MSFlexGrid1->viewport()->update();
    tmrShowMe->start();
}

void frmmanager::cmdadd_Click() {
    openForm(orgTable(m_index).addForm, {});
}

void frmmanager::cmdmodify_Click() {
    const int row = MSFlexGrid1->currentRow();
    if (row == 0) return;
    G().g_SelectedRow = row;
    const OrgTable& table = orgTable(m_index);
    WriteDebugLog(table.editLog);
    openForm(table.editForm, MSFlexGrid1->rowCells(row));
}

void frmmanager::MSFlexGrid1_DblClick() {
    cmdmodify_Click();
}

void frmmanager::tmrShowMe_Timer() {
    show();
    tmrShowMe->stop();
    WriteDebugLog(QStringLiteral("Make Manager Form Visable"));
}

QString frmmanager::askExportName(const QString& proposed, const QString& folder) {
    platform::Prompter& prompter = platform::Prompter::instance();
    const QString first = QStringLiteral("Enter a name for the exported data:");
    std::optional<QString> answer = prompter.input(first, titles::kRenameFile, proposed);
    while (answer && !answer->isEmpty()) {
        const QString name = *answer;
        // The name is a file of the export folder, never a path elsewhere.
        if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
            name.contains(QStringLiteral(".."))) {
            tell(QStringLiteral("A file name may not hold /, \\ or \"..\"."),
                 platform::Icon::Exclamation, titles::kRenameFile);
            answer = prompter.input(first, titles::kRenameFile, name);
            continue;
        }
        if (!FileExists(folder + QLatin1Char('/') + name)) return name;
        answer = prompter.input(QStringLiteral("The filename you entered already exists.") + kCrLf +
                                    QStringLiteral("Enter a new name for the exported report:"),
                                titles::kRenameFile, name);
    }
    return {};
}

void frmmanager::exportGrid(const QString& extension, const QString& kind) {
    const OrgTable& table = orgTable(m_index);
    if (kind == kExcelFile && MSFlexGrid1->Rows() > ExcelFileV2::kMaxRows) {
        tell(QStringLiteral("The table has %1 rows; an Excel file holds at most %2 below its "
                            "heading. Export it as an HTML or CSV file.")
                 .arg(MSFlexGrid1->dataRows())
                 .arg(ExcelFileV2::kMaxRows - 1),
             platform::Icon::Exclamation);
        return;
    }
    const QDateTime now = programNow();
    const QString day = now.toString(QStringLiteral("MM-dd-yyyy"));
    const QString proposed = day + QLatin1Char(' ') + now.toString(QStringLiteral("HH-mm")) +
                             QLatin1Char(' ') + table.word + extension;
    const QString folder = siteExportFolder(SiteContext::current().name());
    const QString name = askExportName(proposed, folder);
    if (name.isEmpty()) return;
    const QString path = folder + QLatin1Char('/') + name;
    bool written = false;
    if (kind == kHtmlFile)
        written = ExportGridToHtml(
            *MSFlexGrid1, path,
            QStringLiteral("Export of  ") + table.word + QStringLiteral(" table on ") + day);
    else if (kind == kExcelFile)
        written = ExportGridToExcel(*MSFlexGrid1, path, QString(), QString());
    else
        written = ExportGridToCsv(path, *MSFlexGrid1);
    if (!written)
        tell(QStringLiteral("The export %1 could not be written.").arg(path),
             platform::Icon::Critical);
}

void frmmanager::cmdExport_Click() {
    const QString kind = cboExport->currentText();
    const QString extension = kind == kHtmlFile    ? QStringLiteral(".html")
                              : kind == kExcelFile ? QStringLiteral(".xls")
                                                   : QStringLiteral(".csv");
    exportGrid(extension, kind);
}

void frmmanager::cmdsaveascsv_Click() {
    exportGrid(QStringLiteral(".csv"), kCsvFile);
}

void frmmanager::Form_Unload() {
    WriteDebugLog(QStringLiteral("Closing Manager Form"));
}

void frmmanager::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

}  // namespace quillon
