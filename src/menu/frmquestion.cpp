#include "menu/frmquestion.h"

#include "common/Globals.h"
#include "widgets/WindowRegistry.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>


namespace quillon {

frmquestion::frmquestion(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmquestion"));
    setWindowTitle(QStringLiteral("Pricing question"));

    lbltxt = new QLabel(QStringLiteral("Do you want to modify Guest or Admin Pricing?"));
    lbltxt->setObjectName(QStringLiteral("lbltxt"));
    Command1 = new QPushButton(QStringLiteral("Guest"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Admin"));
    Command2->setObjectName(QStringLiteral("Command2"));
    // Neither answer is the default: Enter must not choose a price list.
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addStretch();
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbltxt);
    layout->addLayout(buttons);
    setTabOrder(Command1, Command2);

    connect(Command1, &QPushButton::clicked, this, &frmquestion::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmquestion::Command2_Click);
}

frmquestion::~frmquestion() = default;

void frmquestion::Command1_Click() {
    choose(false);
}

void frmquestion::Command2_Click() {
    choose(true);
}

void frmquestion::choose(bool admin) {
    G().g_AdminPricing = admin;
    // The question goes away before the price-list menu comes up.
    QWidget* owner = parentWidget();
    hide();
    done(admin ? 2 : 1);
    openWindow(QStringLiteral("frmDatabase"), owner);
}

}  // namespace quillon
