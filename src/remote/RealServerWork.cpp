#include "remote/RealServerWork.h"

#include "common/SessionLog.h"
#include "remote/FileTransferSession.h"
#include "remote/RemoteShellSession.h"

namespace quillon {

namespace {

class RealServerShell : public ServerShell {
public:
    LineResult run(const QString& line, int deadlineSec) override {
        const std::optional<QString> reply = session.execute(line, deadlineSec);
        if (!reply) return {{session.errorCode(), session.errorString(), line}, QString(), {}};
        return {{}, *reply, {}};
    }
    bool isOpen() const override { return session.isConnected(); }
    void close() override { session.disconnect(); }
    void cancel() override { session.cancel(); }

    RemoteShellSession session;
};

class RealServerFiles : public ServerFiles {
public:
    // A deadline of 0 is the session's own: the request's, given at the connect.
    ServerFailure fetch(const QString& remotePath, const QString& localPath,
                        int deadlineSec) override {
        if (session.getFile(localPath, remotePath, deadlineSec)) return {};
        return {session.errorCode(), session.errorString(), QString()};
    }
    bool isOpen() const override { return session.isConnected(); }
    void close() override { session.disconnect(); }
    void cancel() override { session.cancel(); }

    FileTransferSession session;
};

}  // namespace

std::unique_ptr<ServerShell> RealServerWork::openShell(const ShellRequest& request,
                                                       ServerFailure& failure) {
    auto shell = std::make_unique<RealServerShell>();
    if (!request.control.isEmpty()) shell->session.log = sessionDebugLog(request.control);
    if (!shell->session.connectToHost(request.target, request.connectTimeoutSec)) {
        failure = {shell->session.errorCode(), shell->session.errorString(), QString()};
        return nullptr;
    }
    if (request.folder) {
        const LineResult cd = shell->changeFolder(*request.folder);
        if (!cd.ok()) {
            failure = cd.failure;
            return nullptr;
        }
    }
    failure = {};
    return shell;
}

std::unique_ptr<ServerFiles> RealServerWork::openFiles(const FilesRequest& request,
                                                       ServerFailure& failure) {
    auto files = std::make_unique<RealServerFiles>();
    if (!files->session.connectToHost(request.target, request.timeoutSec)) {
        failure = {files->session.errorCode(), files->session.errorString(), QString()};
        return nullptr;
    }
    failure = {};
    return files;
}

}  // namespace quillon
