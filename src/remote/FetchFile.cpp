#include "remote/FetchFile.h"

#include <QFile>

#include <memory>

namespace quillon {

ServerFailure fetchFile(const FilesRequest& request, const QString& remotePath,
                        const QString& localPath, int deadlineSec) {
    ServerFailure failure;
    const std::unique_ptr<ServerFiles> files = ServerWork::instance().openFiles(request, failure);
    if (!files) {
        QFile::remove(localPath);
        return failure;
    }
    failure = files->fetch(remotePath, localPath, deadlineSec);
    files->close();
    return failure;
}

}  // namespace quillon
