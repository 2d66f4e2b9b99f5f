#include "reports/selection/ReportHost.h"

#include "menu/fMain.h"

#include <QComboBox>

namespace quillon {

namespace {
class MainWindowHost : public ReportHost {
public:
    QString siteName() override { return fMain::instance()->cboSites->currentText(); }
    int siteIndex() override { return fMain::instance()->cboSites->currentIndex(); }
    void executeBatFileForReport(int reportNumber) override {
        fMain::instance()->executeBatFileForReport(reportNumber);
    }
};

ReportHost* g_host = nullptr;
}  // namespace

ReportHost& ReportHost::instance() {
    static MainWindowHost mainWindow;
    return g_host ? *g_host : mainWindow;
}

void ReportHost::setInstance(ReportHost* host) {
    g_host = host;
}

}  // namespace quillon
