#include "reports/summary/fAuditReport.h"

#include "common/CommonFunctions.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon {

fAuditReport::fAuditReport(QWidget* parent) : ReportWindow(reportkinds::audit, QString(), parent) {
    setObjectName(QStringLiteral("fAuditReport"));
    setWindowTitle(QStringLiteral("Audit Report"));
    Frame1 = new QGroupBox(QStringLiteral("Report Options"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* options = new QVBoxLayout(Frame1);
    const char* captions[] = {"Daily Audit Report", "Monthly Audit Report"};
    for (int i = 0; i < 2; ++i) {
        Optaudit[i] = new QRadioButton(QString::fromLatin1(captions[i]), Frame1);
        Optaudit[i]->setObjectName(QStringLiteral("Optaudit_%1").arg(i));
        options->addWidget(Optaudit[i]);
    }
    chkclear = new QCheckBox(QStringLiteral("Clear Audit Report"), Frame1);
    chkclear->setObjectName(QStringLiteral("chkclear"));
    options->addWidget(chkclear);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(buildRunBox(), 0, Qt::AlignHCenter);
    Form_Load();
}

fAuditReport::~fAuditReport() = default;

void fAuditReport::Form_Load() {
    chkclear->setChecked(true);
    Optaudit[0]->setChecked(true);
    WriteDebugLog(QStringLiteral("AUDIT REPORT"));
    noDefaultButtons();
}

QString fAuditReport::auditCode() const {
    QString code = Optaudit[0]->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    if (chkclear->isChecked()) code += QLatin1Char('c');
    return code;
}

void fAuditReport::queueRequest(ReportRequest&) {
    // The whole request is the program line with the audit code.
}

std::optional<QString> fAuditReport::refusal(const ReportRequest&) {
    return std::nullopt;
}

}  // namespace quillon
