#include "reports/selection/fWatchdog.h"

#include "common/CommonFunctions.h"
#include "common/Messages.h"
#include "common/SiteContext.h"
#include "common/TextFormats.h"
#include "platform/SystemInfo.h"
#include "reports/selection/SavedNumbers.h"
#include "widgets/KeyUpFilter.h"
#include "widgets/NamedControls.h"
#include "widgets/NumericTextFilter.h"
#include "widgets/TypedList.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

fWatchdog::fWatchdog(QWidget* parent)
    : ReportWindow(reportkinds::watchdog, QStringLiteral("interval not added"), parent) {
    setObjectName(QStringLiteral("fWatchdog"));
    setWindowTitle(QStringLiteral("Watch Dog Report"));

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label5 = namedLabel(Frame1, QStringLiteral("Label5"), QStringLiteral("Saved  Numbers"));
    Label6 = namedLabel(Frame1, QStringLiteral("Label6"), QStringLiteral("Search Criteria"));
    Label4 = namedLabel(Frame1, QStringLiteral("Label4"), QStringLiteral("Phone Number"));
    const auto list = [this](const char* name, const char* tip) {
        auto* l = new QListWidget(Frame1);
        l->setObjectName(QString::fromLatin1(name));
        l->setToolTip(QString::fromLatin1(tip));
        return l;
    };
    lstsaved = list("lstsaved", "saved list ");
    lstItem = list("lstItem", "search list");
    txtitem = namedBox(Frame1, QStringLiteral("txtitem"));
    txtitem->setToolTip(QStringLiteral("Enter phone number with no dashes or parentheses"));
    connect(txtitem, &QLineEdit::textChanged, this, &fWatchdog::txtitem_Change);
    connect(txtitem, &QLineEdit::returnPressed, this, [this] { txtitem_KeyPress(kKeyEnter); });
    KeyUpFilter::install(lstItem, [this](int code) { lstItem_KeyUp(code); });
    KeyUpFilter::install(lstsaved, [this](int code) { lstsaved_KeyUp(code); });
    connect(lstsaved, &QListWidget::itemDoubleClicked, this, &fWatchdog::lstsaved_DblClick);

    const auto pictureButton = [this](const char* name, QStyle::StandardPixmap icon,
                                      const char* tip) {
        QPushButton* b = namedButton(Frame1, QString::fromLatin1(name));
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(QString::fromLatin1(tip));
        return b;
    };
    cmdadd = pictureButton("cmdadd", QStyle::SP_ArrowRight, "Add numbers to the search");
    cmdaddtosave =
        pictureButton("cmdaddtosave", QStyle::SP_ArrowUp, "Add numbers to the saved numbers list");
    cmdAddToSaved = pictureButton("cmdAddToSaved", QStyle::SP_ArrowLeft,
                                  "Add numbers to the saved numbers list");
    cmdAddFromSaved = pictureButton("cmdAddFromSaved", QStyle::SP_ArrowRight,
                                    "Add numbers from save list to search");
    cmdsave = pictureButton("cmdsave", QStyle::SP_DialogSaveButton,
                            "click to save the numbers in the saved list");
    connect(cmdadd, &QPushButton::clicked, this, &fWatchdog::cmdadd_Click);
    connect(cmdaddtosave, &QPushButton::clicked, this, &fWatchdog::cmdaddtosave_Click);
    connect(cmdAddToSaved, &QPushButton::clicked, this, &fWatchdog::cmdAddToSaved_Click);
    connect(cmdAddFromSaved, &QPushButton::clicked, this, &fWatchdog::cmdAddFromSaved_Click);
    connect(cmdsave, &QPushButton::clicked, this, &fWatchdog::cmdsave_Click);

    auto* grid = new QGridLayout(Frame1);
    grid->addWidget(Label5, 0, 0);
    grid->addWidget(Label6, 0, 2);
    grid->addWidget(lstsaved, 1, 0);
    auto* between = new QVBoxLayout;
    between->addStretch();
    between->addWidget(cmdAddFromSaved);
    between->addWidget(cmdAddToSaved);
    between->addStretch();
    grid->addLayout(between, 1, 1);
    grid->addWidget(lstItem, 1, 2, 4, 1);
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(cmdsave);
    saveRow->addWidget(cmdaddtosave);
    saveRow->addStretch();
    grid->addLayout(saveRow, 2, 0);
    grid->addWidget(Label4, 3, 0);
    auto* phoneRow = new QHBoxLayout;
    phoneRow->addWidget(txtitem);
    phoneRow->addWidget(cmdadd);
    grid->addLayout(phoneRow, 4, 0);

    Frame2 = new QGroupBox(QStringLiteral(" Report Options"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* options = new QVBoxLayout(Frame2);
    options->addWidget(buildPrinterBox(Frame2));
    options->addWidget(buildDateFrame({.allCalls = false}));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(Frame2);
    QWidget* run = buildRunBox();
    Command1->setToolTip(QStringLiteral("Click to run the report "));
    layout->addWidget(run, 0, Qt::AlignHCenter);

    Form_Load();
}

fWatchdog::~fWatchdog() = default;

int fWatchdog::siteNumber() const {
    return SiteContext::current().index() + 1;
}

void fWatchdog::Form_Load() {
    setDefaultDateTimes(QTime(0, 1), QTime(23, 59));
    chksendprinter->setChecked(false);
    txtinterval->setMaxLength(3);
    txtitem->setMaxLength(16);
    Optdate[1]->setChecked(true);
    LoadSavedItems();
    WriteDebugLog(QStringLiteral("WATCHDOG REPORT"));
    tmrreport->stop();
    noDefaultButtons();
}

void fWatchdog::LoadSavedItems() {
    const std::optional<QStringList> saved =
        SavedNumbers(configurationFilePath()).load(siteNumber());
    if (!saved) {
        tell(QStringLiteral("No saved entries for watch dog report for this site"));
        return;
    }
    lstsaved->addItems(*saved);
}

void fWatchdog::txtitem_Change() {
    applyNumericTextFilter(txtitem);
}

void fWatchdog::txtitem_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) cmdadd_Click();
}

void fWatchdog::cmdadd_Click() {
    if (txtitem->text().isEmpty()) return;
    appendTyped(lstItem, txtitem->text(), Duplicates::Refuse);
}

void fWatchdog::cmdaddtosave_Click() {
    if (txtitem->text().isEmpty()) return;
    appendTyped(lstsaved, txtitem->text(), Duplicates::Refuse);
}

void fWatchdog::MoveIntoSavedFromList() {
    const int row = highlightedRow(lstItem);
    if (row < 0) return;
    if (appendTyped(lstsaved, lstItem->item(row)->text(), Duplicates::Refuse))
        lstItem->setCurrentRow(row);
}

void fWatchdog::MoveIntoListFromSaved() {
    const int row = highlightedRow(lstsaved);
    if (row < 0) return;
    const QString number = lstsaved->item(row)->text();
    // A saved number comes from the configuration file: it must be a number as the phone box
    // would have let it through before it may go into a run.
    if (!isPhoneNumberText(number)) {
        tell(number.isEmpty()
                 ? QStringLiteral("This saved entry is empty; there is no number to search for.")
                 : QStringLiteral("The saved entry \"%1\" is not a phone number; it was not added "
                                  "to the search.")
                       .arg(number),
             platform::Icon::Exclamation);
        return;
    }
    if (appendTyped(lstItem, number, Duplicates::Refuse)) lstsaved->setCurrentRow(row);
}

void fWatchdog::lstsaved_DblClick() {
    MoveIntoListFromSaved();
}

void fWatchdog::cmdremove_Click() {
    removeHighlightedTyped(lstItem);
}

void fWatchdog::cmdsaveremove_Click() {
    removeHighlightedTyped(lstsaved);
}

void fWatchdog::lstItem_KeyUp(int keyCode) {
    if (keyCode == kKeyDelete) cmdremove_Click();
}

void fWatchdog::lstsaved_KeyUp(int keyCode) {
    if (keyCode == kKeyDelete) cmdsaveremove_Click();
}

void fWatchdog::cmdsave_Click() {
    QStringList numbers;
    for (int i = 0; i < lstsaved->count(); ++i) numbers << lstsaved->item(i)->text();
    if (!SavedNumbers(configurationFilePath()).save(siteNumber(), numbers))
        tell(QStringLiteral("The saved numbers could not be written to KTREPORTS.INI."),
             platform::Icon::Critical);
    if (lstsaved->count() > 0) lstsaved->setCurrentRow(lstsaved->count() - 1);
}

void fWatchdog::queueRequest(ReportRequest& request) {
    request.addHeader();
    queuePrinterLine(request);
    for (int i = 0; i < lstItem->count(); ++i) {
        lstItem->setCurrentRow(i);
        request.addPhoneNumber(lstItem->item(i)->text());
    }
    queueDatePart(request);
}

std::optional<QString> fWatchdog::refusal(const ReportRequest& request) {
    if (lstItem->count() == 0) return QStringLiteral("You Must ") + Label6->text();
    if (request.lines().isEmpty()) return QString();
    return std::nullopt;
}

}  // namespace quillon
