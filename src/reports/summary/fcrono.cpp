#include "reports/summary/fcrono.h"

#include "common/CommonFunctions.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTime>
#include <QVBoxLayout>

namespace quillon {

fcrono::fcrono(QWidget* parent)
    : ReportWindow(reportkinds::crono, QStringLiteral("interval not added"), parent) {
    setObjectName(QStringLiteral("fcrono"));
    setWindowTitle(QStringLiteral("Crono Report"));
    Frame1 = new QGroupBox(QStringLiteral("Report Options"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* options = new QVBoxLayout(Frame1);
    options->addWidget(buildPrinterBox(Frame1));
    options->addWidget(buildDateFrame({.allCalls = false, .times = false}));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(buildRunBox(), 0, Qt::AlignHCenter);
    Form_Load();
}

fcrono::~fcrono() = default;

void fcrono::Form_Load() {
    setDefaultDateTimes(QTime(0, 1), QTime(23, 59));
    chksendprinter->setChecked(false);
    txtinterval->setMaxLength(3);
    Optdate[1]->setChecked(true);
    WriteDebugLog(QStringLiteral("CRONO REPORT"));
    noDefaultButtons();
}

void fcrono::queueRequest(ReportRequest& request) {
    request.addHeader();
    queuePrinterLine(request);
    queueDatePart(request);
}

std::optional<QString> fcrono::refusal(const ReportRequest& request) {
    if (request.lines().isEmpty()) return badParametersText();
    return std::nullopt;
}

}  // namespace quillon
