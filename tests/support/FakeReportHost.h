#pragma once
// Stands in for the main window of the report windows: its chosen site and its report
// retrieval, which records each hand-over. It installs itself for its lifetime.
#include "common/SiteContext.h"
#include "reports/common/ReportHandOver.h"

#include <QList>
#include <QString>

#include <functional>

namespace testsupport {

class FakeReportHost : public quillon::ReportHandOver, public quillon::SiteContext {
public:
    FakeReportHost() {
        quillon::ReportHandOver::setInstance(this);
        quillon::SiteContext::install(this);
    }
    ~FakeReportHost() override {
        quillon::ReportHandOver::setInstance(nullptr);
        quillon::SiteContext::install(nullptr);
    }
    QString name() const override { return siteName; }
    int index() const override { return siteIndex; }
    void executeBatFileForReport(int reportNumber, QWidget*) override {
        handOvers << reportNumber;
        if (onHandOver) onHandOver(reportNumber);
    }

    QString siteName = QStringLiteral("North");
    int siteIndex = 1;
    QList<int> handOvers;
    std::function<void(int)> onHandOver;
};

}  // namespace testsupport
