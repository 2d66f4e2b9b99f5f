#pragma once
// Report retrieval: the hand-over of a report run's file to the user (fetch, dated name,
// viewer).
#include "common/SiteTargets.h"

#include <QString>

class QWidget;

namespace quillon {

// Tells the user that the report at `remote` did not come back, and why.
void tellNotBroughtBack(const QString& remote, const QString& error);

// Fetches g_ReportFileName of the current site (from its backup folder in backup-reports
// mode) into the site's folder, lets the user name each fetched file through the save dialog
// and opens the last one. `owner` shows the busy pointer meanwhile.
void executeBatFileForReport(int reportNumber, QWidget* owner);

}  // namespace quillon
