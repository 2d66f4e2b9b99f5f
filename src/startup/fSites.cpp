#include "startup/fSites.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

fSites::fSites(QWidget* parent) : QDialog(parent) {
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Current Sites:"), this);
    cboSites = new QComboBox(this);
    cboSites->setObjectName(QStringLiteral("cboSites"));
    layout->addWidget(Label1);
    layout->addWidget(cboSites);
}

fSites::~fSites() = default;

void fSites::Form_Load() {}
void fSites::cboSites_Click() {}
void fSites::lstReports_Click() {}
void fSites::lstReports_DblClick() {}
void fSites::txtScript_KeyUp() {}
void fSites::cmdsave_Click() {}
void fSites::cmdmodify_Click() {}
void fSites::cmdcancel_Click() {}
void fSites::cmdNewSite_Click() {}

}  // namespace quillon
