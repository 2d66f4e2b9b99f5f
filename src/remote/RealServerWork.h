#pragma once
// The real side of ServerWork: shells on RemoteShellSession, file transfers on
// FileTransferSession, the shell's lines in the debug log under the request's control name.
#include "remote/ServerWork.h"

namespace quillon {

class RealServerWork : public ServerWork {
public:
    std::unique_ptr<ServerShell> openShell(const ShellRequest& request,
                                           ServerFailure& failure) override;
    std::unique_ptr<ServerFiles> openFiles(const FilesRequest& request,
                                           ServerFailure& failure) override;
};

}  // namespace quillon
