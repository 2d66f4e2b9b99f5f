#pragma once
// Shows a file to the user in the desktop's program for it (reports, exports, folders),
// and runs a local command line to its end.
#include <QString>
#include <QStringList>

namespace platform {

class DocumentViewer {
public:
    virtual ~DocumentViewer() = default;
    // Opens the file or folder without waiting. False when the viewer could not be started.
    virtual bool open(const QString& path) = 0;
    // Runs a local command line and waits until it ends; returns its exit code, -1 when it
    // could not be started.
    virtual int runAndWait(const QString& program, const QStringList& arguments) = 0;

    static DocumentViewer& instance();
    // Installs a viewer (not owned); nullptr restores the desktop viewer.
    static void setInstance(DocumentViewer* viewer);
};

// Starts `xdg-open` (or the command in QUILLON_VIEWER) detached.
class DesktopViewer : public DocumentViewer {
public:
    bool open(const QString& path) override;
    int runAndWait(const QString& program, const QStringList& arguments) override;
};

}  // namespace platform
