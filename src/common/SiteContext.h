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
    // The site's folder on its server (g_SiteHomedir), or its backup subfolder; empty for a
    // site without one (siteServerFolder).
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

// Why `name` cannot name a site's folder below the program folder, or "" when it can: an empty
// name, ".", or one holding '/', '\' or "..", which would lead out of the program folder.
QString siteFolderNameProblem(const QString& name);
// As siteFolderNameProblem, and "Default" (any case) anywhere but index 0, where it is the
// default site, whose folder holds the script templates. Such a site cannot be chosen.
QString siteNameProblem(const QString& name, int index);
// For the user, when site `name` at `index` cannot be chosen: what is wrong with it; else "".
QString unusableSiteText(const QString& name, int index);

// Every local path built from a site name comes from here: <program folder>/<site>/<relative>,
// spelled as the folders on disk are, whatever their case, nothing created. An empty string
// for a name that siteFolderNameProblem refuses, so no file of such a site is ever made, read
// or deleted; callers stop there.
QString sitePath(const QString& siteName, const QString& relative = QString());
// <program folder>/<site>, its download, Download/reports, Download/export and Download/backups
// folders (each one folder whatever the case), as sitePath; created when missing.
QString siteLocalFolder(const QString& siteName);
QString siteDownloadFolder(const QString& siteName);
QString siteReportsFolder(const QString& siteName);
QString siteExportFolder(const QString& siteName);
QString siteBackupsFolder(const QString& siteName);

}  // namespace quillon
