#pragma once
// Request lines run by a local bash, as the server's shell runs them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

// Runs the lines with bash in a fresh folder, as the server's shell runs them, and returns
// the request file's lines (the file is LF-ended text). `files` receives the folder's names
// afterwards.
inline QStringList runLocally(const QStringList& lines, const QString& fileName,
                              QStringList* files = nullptr) {
    QTemporaryDir dir;
    QProcess bash;
    bash.setWorkingDirectory(dir.path());
    bash.start(QStringLiteral("bash"), {QStringLiteral("--noprofile"), QStringLiteral("--norc")});
    bash.waitForStarted();
    bash.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    bash.closeWriteChannel();
    bash.waitForFinished();
    if (files) *files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    QFile f(dir.filePath(fileName));
    if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("<no request file>")};
    const QByteArray bytes = f.readAll();
    if (!bytes.endsWith('\n')) ADD_FAILURE() << "request file does not end in LF";
    if (bytes.contains('\r')) ADD_FAILURE() << "request file holds CR";
    QStringList out = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    out.removeLast();
    return out;
}

}  // namespace testsupport
