#include "platform/SaveFile.h"

namespace platform {

bool writeAndCommit(QSaveFile& file, const QByteArray& bytes, QString* error) {
    if (file.write(bytes) != bytes.size() || !file.flush()) {
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
