#pragma once
// One file brought from the server over a file session of its own (ServerWork): open, fetch,
// close. For work that fetches a single file; work that fetches several opens one session.
#include "common/SiteTargets.h"
#include "remote/ServerWork.h"

#include <QString>

namespace quillon {

// Fetches remotePath to localPath. The failure of the open or of the transfer, as the session
// reported it; no file is left at localPath then. deadlineSec as ServerFiles::fetch.
ServerFailure fetchFile(const FilesRequest& request, const QString& remotePath,
                        const QString& localPath, int deadlineSec = 0);

// fetchFile for a caller that tells only the text: false, with the reason in *error.
inline bool fetchRemoteFile(const FilesRequest& request, const QString& remotePath,
                            const QString& localPath, QString* error) {
    const ServerFailure failure = fetchFile(request, remotePath, localPath);
    if (!failure.ok() && error) *error = failure.text;
    return failure.ok();
}

}  // namespace quillon
