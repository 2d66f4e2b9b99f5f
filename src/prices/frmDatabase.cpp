#include "prices/frmDatabase.h"

#include "widgets/BusyPointer.h"
#include "widgets/LongWaitCancel.h"
#include "widgets/NamedControls.h"
#include "widgets/WaitPanel.h"
#include "widgets/WindowRegistry.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace quillon {

frmDatabase::frmDatabase(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDatabase"));
    setWindowTitle(QStringLiteral("Database Manager"));
    setModal(true);

    auto* frame = new QGroupBox(this);
    auto* grid = new QGridLayout(frame);
    // Picture buttons without captions; the labels under them name them.
    const auto pictureButton = [&](const QString& name, const QString& label,
                                   QStyle::StandardPixmap picture, int column) {
        QPushButton* button =
            namedPictureButton(frame, name, picture, QSize(48, 48), QSize(72, 72));
        button->setAccessibleName(label);
        auto* caption = new QLabel(label, frame);
        caption->setAlignment(Qt::AlignHCenter);
        grid->addWidget(button, 0, column, Qt::AlignHCenter);
        grid->addWidget(caption, 1, column);
        return std::pair{button, caption};
    };
    std::tie(cmdpricing, lblpricing) =
        pictureButton(QStringLiteral("cmdpricing"), QStringLiteral("Domestic Pricing"),
                      QStyle::SP_FileDialogDetailedView, 0);
    std::tie(cmdCC, lblCC) =
        pictureButton(QStringLiteral("cmdCC"), QStringLiteral("International Pricing"),
                      QStyle::SP_DriveNetIcon, 1);
    lblpricing->setObjectName(QStringLiteral("lblpricing"));
    lblCC->setObjectName(QStringLiteral("lblCC"));
    connect(cmdpricing, &QPushButton::clicked, this, &frmDatabase::cmdpricing_Click);
    connect(cmdCC, &QPushButton::clicked, this, &frmDatabase::cmdCC_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    // A table window loads before it shows: its load's Cancel is here.
    layout->addWidget(new WaitPanel(this, WaitPanel::Cancel::AnyWait), 0, Qt::AlignBottom);
    Form_Load();
}

frmDatabase::~frmDatabase() = default;

void frmDatabase::Form_Load() {
    cmdpricing->setEnabled(true);
    cmdCC->setEnabled(true);
}

void frmDatabase::openList(const QString& window) {
    BusyPointer busy(this);
    openWindowOrTell(window, this);
}

void frmDatabase::cmdpricing_Click() {
    openList(QStringLiteral("frmdomesticpricing"));
}

void frmDatabase::cmdCC_Click() {
    openList(QStringLiteral("frminternational"));
}

}  // namespace quillon
