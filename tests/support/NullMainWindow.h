#pragma once
// A main-window port that has no window: every call does nothing, the site box is empty and the
// window counts as loaded. A test derives from it and records the calls it is about.
#include "widgets/MainWindowPort.h"

namespace testsupport {

class NullMainWindow : public quillon::MainWindowPort {
public:
    void prepareForLogin() override {}
    void showUpdateButton(bool) override {}
    QStringList commandButtonNames() const override { return {}; }
    void grantButton(const QString&) override {}
    void showSiteEditorButton() override {}
    QStringList siteNames() const override { return {}; }
    void setSiteNames(const QStringList&) override {}
    void addSiteName(const QString&) override {}
    void setListIndex(int) override {}
    void setConnectedCaption(const QString&) override {}
    void setDownloadTip(const QString&) override {}
    void reconnectMonitorAndWait(Monitor, int) override {}
    void show() override {}
    bool isLoaded() const override { return true; }
};

}  // namespace testsupport
