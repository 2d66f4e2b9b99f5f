#include "platform/SaveFile.h"

namespace platform {

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
