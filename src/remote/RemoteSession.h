#pragma once
// The three kinds of session through which all work on a server is done: the blocking shell
// and file transfer, and the non-blocking shell of the live monitors.
#include "common/SiteTargets.h"
#include "remote/FileTransferSession.h"
#include "remote/LiveTailSession.h"
#include "remote/RemoteShellSession.h"
#include "remote/SessionError.h"
