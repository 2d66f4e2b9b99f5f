#pragma once
// The pull of the server's 13 tables into the site's table mirror (common/TableMirror.h).
#include "common/SiteTargets.h"
#include "common/TableMirror.h"

#include <QString>

namespace quillon {

// Deletes every working and scratch file of the mirror, fetches <serverFolder>/<t>.csv over one
// file session of ServerWork (files: its login and the deadline of the connect and of each
// table) into <t>unix.csv and converts each into <t>.csv. Only one pull runs at a time; a
// second one started meanwhile fails at once.
TableMirrorResult RefreshSiteTables(const QString& siteName, const FilesRequest& files,
                                    const QString& serverFolder);

}  // namespace quillon
