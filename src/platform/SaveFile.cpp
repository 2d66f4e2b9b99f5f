#include "platform/SaveFile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

bool replaceFile(const QString& from, const QString& to, QString* error) {
    // rename() replaces an existing target atomically; QFile::rename would refuse it, and a
    // removal first would leave a moment, or a failure, with no copy at all.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (error) *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool writeAndCommit(QSaveFile& file, const QByteArray& bytes, QString* error) {
    if (file.write(bytes) != bytes.size()) {
        if (error) *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return commitWritten(file, error);
}

bool commitWritten(QSaveFile& file, QString* error) {
    if (!file.flush()) {
        if (error) *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace platform
