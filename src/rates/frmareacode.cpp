#include "rates/frmareacode.h"

#include "widgets/BusyPointer.h"
#include "widgets/LongWaitCancel.h"
#include "widgets/NamedControls.h"
#include "widgets/WaitPanel.h"
#include "widgets/WindowRegistry.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace quillon {

frmareacode::frmareacode(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmareacode"));
    setWindowTitle(QStringLiteral("Areacodes/Prefixes"));
    setModal(true);

    // Picture buttons with their caption beneath; the pictures are the style's own.
    const auto button = [this](const char* name, const char* caption,
                               QStyle::StandardPixmap picture) {
        auto* column = new QVBoxLayout;
        QPushButton* b = namedPictureButton(this, QString::fromLatin1(name), picture, QSize(40, 40),
                                            QSize(96, 64));
        b->setAccessibleName(QString::fromLatin1(caption));
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setAlignment(Qt::AlignHCenter);
        label->setBuddy(b);
        column->addWidget(b, 0, Qt::AlignHCenter);
        column->addWidget(label);
        return std::pair{b, column};
    };
    auto [ld, ldColumn] = button("cmdLD", "Modify Area Codes", QStyle::SP_FileDialogDetailedView);
    auto [add, addColumn] = button("cmdaddac", "Add Area Codes", QStyle::SP_FileDialogNewFolder);
    cmdLD = ld;
    cmdaddac = add;
    connect(cmdLD, &QPushButton::clicked, this, &frmareacode::cmdLD_Click);
    connect(cmdaddac, &QPushButton::clicked, this, &frmareacode::cmdaddac_Click);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(ldColumn);
    layout->addLayout(addColumn);
    // A table window loads before it shows: its load's Cancel is here.
    layout->addWidget(new WaitPanel(this, WaitPanel::Cancel::AnyWait), 0, Qt::AlignBottom);
    Form_Load();
}

void frmareacode::Form_Load() {
    cmdLD->setEnabled(true);
    cmdaddac->setEnabled(true);
}

void frmareacode::open(const QString& window) {
    BusyPointer busy(this);
    openWindowOrTell(window, this);
}

void frmareacode::cmdLD_Click() {
    open(QStringLiteral("frmac"));
}

void frmareacode::cmdaddac_Click() {
    open(QStringLiteral("frmaddac"));
}

}  // namespace quillon
