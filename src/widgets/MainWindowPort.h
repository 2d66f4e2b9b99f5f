#pragma once
// What the start-up windows (splash, login, connecting window, site editor) do to the main
// window, which exists hidden from the splash window's load on. The main window installs
// itself; these windows never include it or read its controls.
#include <QString>
#include <QStringList>

namespace quillon {

class MainWindowPort {
public:
    virtual ~MainWindowPort() = default;

    // Makes the main window (loaded, not shown) when it does not exist yet and readies it for
    // a login: every menu button off, the backup-reports exit hidden.
    virtual void prepareForLogin() = 0;
    // The update button and its label, shown and enabled or neither (only once it exists).
    virtual void showUpdateButton(bool shown) = 0;
    // The object names of the menu's command buttons.
    virtual QStringList commandButtonNames() const = 0;
    // Shows and enables the named command button.
    virtual void grantButton(const QString& name) = 0;
    // Shows and enables the site editor's button and its caption.
    virtual void showSiteEditorButton() = 0;

    // The site box: its names, replacing them or adding one without switching to a site, and
    // choosing one, which switches to it (-1: none, nothing switches).
    virtual QStringList siteNames() const = 0;
    virtual void setSiteNames(const QStringList& names) = 0;
    virtual void addSiteName(const QString& name) = 0;
    virtual void setListIndex(int index) = 0;

    // The "Connected to: ..." caption and the download button's tip.
    virtual void setConnectedCaption(const QString& text) = 0;
    virtual void setDownloadTip(const QString& text) = 0;

    // Opens a live monitor afresh on the current site and waits, serving events, until its
    // session has reported the connect or its failure (or the deadline has passed).
    enum class Monitor { CallLog, Pms };
    virtual void reconnectMonitorAndWait(Monitor monitor, int deadlineMs) = 0;

    virtual void show() = 0;

    // The main window's look after a restore: for reports on the restored backup (tab 1
    // selected and captioned "Backup Reports", the exit-backup button and its label shown) or on
    // the live data (tab 0, tab 1 "Reports", the button hidden). The caller sets
    // g_BackupReportsMode; a port without the tabs shows nothing.
    virtual void showBackupReportsMode(bool on) { (void)on; }

    // Whether the main window exists yet; the other calls make it when it does not.
    virtual bool isLoaded() const = 0;

    // The installed port; nullptr when none is (tests of windows that need no main window).
    // The program installs one that makes the main window on first use.
    static MainWindowPort* instance();
    // Installs a port (not owned); nullptr removes it.
    static void install(MainWindowPort* port);
};

}  // namespace quillon
