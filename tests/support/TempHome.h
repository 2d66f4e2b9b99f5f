#pragma once
// A fresh program folder for one test: KTReports.ini, site folders and logs go here, and the
// process-wide values start from scratch.
#include "widgets/AppControl.h"
#include "common/Globals.h"
#include "platform/SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace testsupport {

class TempHome {
public:
    TempHome() {
        quillon::resetGlobals();
        quillon::resetProgramEnd();
        platform::SystemInfo::setProgramFolder(m_dir.path());
        platform::SystemInfo::setComputerNameOverride(QStringLiteral("TESTPC"));
    }
    ~TempHome() {
        platform::SystemInfo::setProgramFolder(QString());
        quillon::resetGlobals();
    }
    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.path() + QLatin1Char('/') + relative; }
    // Writes bytes to a file below the folder, making folders on the way.
    void write(const QString& relative, const QByteArray& bytes) const {
        const QString p = file(relative);
        QDir().mkpath(QFileInfo(p).path());
        QFile f(p);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }
    QByteArray read(const QString& relative) const {
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

}  // namespace testsupport
