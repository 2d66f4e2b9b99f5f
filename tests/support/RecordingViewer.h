#pragma once
// A DocumentViewer that records what it was asked to open or run, and shows nothing.
#include "platform/DocumentViewer.h"

#include <QStringList>

namespace testsupport {

class RecordingViewer : public platform::DocumentViewer {
public:
    RecordingViewer() { platform::DocumentViewer::setInstance(this); }
    ~RecordingViewer() override { platform::DocumentViewer::setInstance(nullptr); }

    bool open(const QString& path) override {
        opened << path;
        return true;
    }
    int runAndWait(const QString& program, const QStringList& arguments) override {
        ran << (QStringList{program} + arguments).join(QLatin1Char(' '));
        return exitCode;
    }

    QStringList opened;
    QStringList ran;
    int exitCode = 0;
};

}  // namespace testsupport
