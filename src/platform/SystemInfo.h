#pragma once
#include <QString>

namespace platform {

class SystemInfo {
public:
    // The computer name as it goes into file names on the server: the host name up to its
    // first dot, upper-case, any other character as '-', leading '-' dropped, at most 15
    // characters of A-Z 0-9 and '-'; "PC" when nothing is left.
    static QString computerName();
    static QString computerNameFrom(const QString& hostName);
    // Overrides the host name (tests, or a machine whose name is not wanted on the server).
    static void setComputerNameOverride(const QString& name);

    // The folder that holds KTReports.ini, the site folders and the logs: the executable's
    // folder unless --home DIR or QUILLON_HOME names another.
    static QString programFolder();
    static void setProgramFolder(const QString& folder);
    // Reads --home DIR from the command line and QUILLON_HOME from the environment.
    static void initFromArguments(const QStringList& arguments);
    // programFolder() + "/" + relative, with '\' in relative turned into '/'.
    static QString path(const QString& relative);
};

}  // namespace platform
