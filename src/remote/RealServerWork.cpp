#include "remote/RealServerWork.h"

#include "common/SessionLog.h"
#include "remote/FileTransferSession.h"
#include "remote/RemoteShellSession.h"

#include <memory>

namespace quillon {

namespace {

// A handler that runs during a wait (a window closed meanwhile) may destroy the shell or file
// session it waits on; then nothing of it may be touched after the wait.
ServerFailure closedMeanwhile(const QString& line) {
    return {kSessionFailed, QStringLiteral("The session was closed while it waited."), line};
}

class RealServerShell : public ServerShell {
public:
    ~RealServerShell() override { *alive = false; }
    LineResult run(const QString& line, int deadlineSec) override {
        const std::shared_ptr<bool> stillHere = alive;
        const std::optional<QString> reply =
            session.execute(line, lineDeadlineSec(deadlineSec, lineTimeoutSec));
        if (!*stillHere) return {closedMeanwhile(line), QString(), {}};
        if (!reply) return {{session.errorCode(), session.errorString(), line}, QString(), {}};
        return {{}, *reply, {}};
    }
    bool isOpen() const override { return session.isConnected(); }
    void close() override { session.disconnect(); }
    void cancel() override { session.cancel(); }

    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    RemoteShellSession session;
    int lineTimeoutSec = kLineTimeoutSec;
};

class RealServerFiles : public ServerFiles {
public:
    ~RealServerFiles() override { *alive = false; }
    // A deadline of 0 is the session's own: the request's, given at the connect.
    ServerFailure fetch(const QString& remotePath, const QString& localPath,
                        int deadlineSec) override {
        const std::shared_ptr<bool> stillHere = alive;
        const bool fetched = session.getFile(localPath, remotePath, deadlineSec);
        if (!*stillHere) return closedMeanwhile(QString());
        if (fetched) return {};
        return {session.errorCode(), session.errorString(), QString()};
    }
    bool isOpen() const override { return session.isConnected(); }
    void close() override { session.disconnect(); }
    void cancel() override { session.cancel(); }

    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    FileTransferSession session;
};

}  // namespace

std::unique_ptr<ServerShell> RealServerWork::openShell(const ShellRequest& request,
                                                       ServerFailure& failure) {
    auto shell = std::make_unique<RealServerShell>();
    shell->lineTimeoutSec = request.lineTimeoutSec;
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
