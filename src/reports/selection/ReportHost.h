#pragma once
// What a report window needs of the main window: the site chosen in its site box and the
// report retrieval. Tests install their own host; the program uses the main window.
#include <QString>

namespace quillon {

class ReportHost {
public:
    virtual ~ReportHost() = default;
    // The text of the main window's site box: the name of the site's local folder.
    virtual QString siteName() = 0;
    // The list index of the site box.
    virtual int siteIndex() = 0;
    // Fetches g_ReportFileName, lets the user name it and opens it.
    virtual void executeBatFileForReport(int reportNumber) = 0;

    static ReportHost& instance();
    // Installs a host (not owned); nullptr restores the main window.
    static void setInstance(ReportHost* host);
};

}  // namespace quillon
