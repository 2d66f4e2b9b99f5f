#pragma once
// The site the user works on: what a window needs to know of it, whoever shows the choice. The
// main window installs the program's context (its site box); tests install their own.
#include <QString>

namespace quillon {

class SiteContext {
public:
    virtual ~SiteContext() = default;
    // The list index of the chosen site (the index into the site table); -1 for none.
    virtual int index() const = 0;
    // Its name: the name of the site's folder below the program folder.
    virtual QString name() const = 0;

    // <program folder>/<name>, spelled as the folder on disk is (created when missing).
    QString localFolder() const;
    // The site's folder on its server (g_SiteHomedir), or its backup subfolder.
    QString serverFolder(bool backup = false) const;

    // The installed context; without one, the site g_CurSite with an empty name.
    static const SiteContext& current();
    // Installs a context (not owned); nullptr removes it.
    static void install(const SiteContext* context);
};

// A context of fixed values, for windows opened without the main window (and tests).
class FixedSite : public SiteContext {
public:
    FixedSite(int index, QString name) : m_index(index), m_name(std::move(name)) {}
    int index() const override { return m_index; }
    QString name() const override { return m_name; }

private:
    int m_index;
    QString m_name;
};

// <program folder>/<site>, its download, Download/reports and Download/export folders (one folder
// whatever the case), spelled as the folders on disk are; created when missing.
QString siteLocalFolder(const QString& siteName);
QString siteDownloadFolder(const QString& siteName);
QString siteReportsFolder(const QString& siteName);
QString siteExportFolder(const QString& siteName);

}  // namespace quillon
