#pragma once
#include <QString>

namespace platform {

// The path of `name` in `folder`, matched without regard to case (an exact match wins);
// an empty string when there is none.
QString findFileNoCase(const QString& folder, const QString& name);

// Resolves every component of `path` below `base` without regard to case, so that names the
// system spells two ways (Download, download) are one folder. Components that do not exist
// are kept as given.
QString resolveNoCase(const QString& base, const QString& relative);

}  // namespace platform
