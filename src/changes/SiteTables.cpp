#include "changes/SiteTables.h"

#include "common/CommonFunctions.h"
#include "common/Messages.h"
#include "common/SiteContext.h"
#include "common/SiteTargets.h"
#include "remote/TablePull.h"
#include "widgets/WaitPanel.h"

namespace quillon {

TableMirrorResult pullSiteTables() {
    const SiteContext& site = SiteContext::current();
    return pullSiteTables(site.index(), site.name());
}

TableMirrorResult pullSiteTables(int site, const QString& siteName) {
    const TableMirrorResult pulled =
        RefreshSiteTables(siteName, filesRequestForSite(site), siteServerFolder(site));
    if (!pulled.ok) WriteDebugLog(pulled.error);
    return pulled;
}

PullTold tellFailedPull(const TableMirrorResult& pulled) {
    if (pulled.ok) return PullTold::Nothing;
    if (toldCancelledWait(QStringLiteral("The table pull"), pulled.code))
        return PullTold::Cancelled;
    tell(QStringLiteral("The tables of this site could not all be fetched again: %1")
             .arg(pulled.error),
         platform::Icon::Exclamation);
    return PullTold::Failure;
}

}  // namespace quillon
