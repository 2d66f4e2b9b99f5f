#pragma once
// The site's tables pulled into its mirror for a window that shows them (the area-code and
// price-list windows as they load, a change form after the server's answer), and what the user
// is told when the pull did not bring them all. The window shows what the mirror holds either
// way, so it pulls, loads, and tells last.
#include "common/TableMirror.h"

#include <QString>

namespace quillon {

// The current site's tables (SiteContext). A failure is logged.
TableMirrorResult pullSiteTables();
// The tables of site `site` named `siteName` (a change request's own site). A failure is logged.
TableMirrorResult pullSiteTables(int site, const QString& siteName);

// What tellFailedPull told: nothing (every table came), the failure, or a wait the user ended.
enum class PullTold { Nothing, Failure, Cancelled };

// Tells a pull that failed: a wait the user ended as such (toldCancelledWait), any other
// failure with its reason.
PullTold tellFailedPull(const TableMirrorResult& pulled);

}  // namespace quillon
