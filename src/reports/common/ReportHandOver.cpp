#include "reports/common/ReportHandOver.h"

#include "reports/common/ReportRetrieval.h"

namespace quillon {

namespace {
class Retrieval : public ReportHandOver {
public:
    void executeBatFileForReport(int reportNumber, QWidget* owner) override {
        quillon::executeBatFileForReport(reportNumber, owner);
    }
};

ReportHandOver* g_receiver = nullptr;
}  // namespace

ReportHandOver& ReportHandOver::instance() {
    static Retrieval retrieval;
    return g_receiver ? *g_receiver : retrieval;
}

void ReportHandOver::setInstance(ReportHandOver* receiver) {
    g_receiver = receiver;
}

}  // namespace quillon
