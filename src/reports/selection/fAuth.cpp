#include "reports/selection/fAuth.h"

#include "reports/selection/SelectionSetups.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon {

fAuth::fAuth(QWidget* parent) : SelectionReportWindow(authSetup(), parent) {
    setObjectName(QStringLiteral("fAuth"));
    auto* frame = new QGroupBox(Frame1);
    frame->setObjectName(QStringLiteral("FrameAuthType"));
    auto* layout = new QVBoxLayout(frame);
    const char* captions[] = {"Calls with Auth codes only", "Calls without Auth codes only",
                              "Calls with && without Auth codes"};
    for (int i = 0; i < 3; ++i) {
        optauthtype[i] = new QRadioButton(QString::fromLatin1(captions[i]), frame);
        optauthtype[i]->setObjectName(QStringLiteral("optauthtype_%1").arg(i));
        layout->addWidget(optauthtype[i]);
    }
    breakdownLayout()->addWidget(frame, 4, 0, 1, 2);
    optauthtype[0]->setChecked(true);
    Form_Load();
}

fAuth::~fAuth() = default;

QString fAuth::lineAfterDatePart() const {
    for (int i = 0; i < 3; ++i)
        if (optauthtype[i]->isChecked()) return QStringLiteral("N %1").arg(i + 1);
    return QStringLiteral("N 1");
}

}  // namespace quillon
