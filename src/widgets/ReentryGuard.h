#pragma once
// The guard lives in common/ (server work below the widgets uses it too); this name stays
// until its last includer has moved.
#include "common/ReentryGuard.h"
