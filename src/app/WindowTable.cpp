#include "app/WindowTable.h"

#include "access/PasswordWindows.h"
#include "access/frmLogin.h"
#include "access/frmPermissions.h"
#include "access/frmdeluser.h"
#include "access/frmmodusers.h"
#include "maintenance/BackupLists.h"
#include "maintenance/BackupMenus.h"
#include "maintenance/fbackup.h"
#include "menu/Reports.h"
#include "menu/fErrors.h"
#include "menu/frmquestion.h"
#include "rates/fcallcalc.h"
#include "rates/frmac.h"
#include "rates/frmaddac.h"
#include "rates/frmareacode.h"
#include "rates/frmeditAC.h"
#include "prices/PriceListWindow.h"
#include "prices/PriceModifyForm.h"
#include "prices/frmDatabase.h"
#include "reports/selection/fAuth.h"
#include "reports/selection/fDetailReport.h"
#include "reports/selection/fWatchdog.h"
#include "reports/selection/fcost.h"
#include "reports/selection/funusedstations.h"
#include "reports/summary/FAreacode.h"
#include "reports/summary/fAuditReport.h"
#include "reports/summary/fTrunk.h"
#include "reports/summary/fcrono.h"
#include "reports/summary/fstatsreport.h"
#include "startup/fSites.h"
#include "startup/fgetdata.h"
#include "startup/frmSplash.h"
#include "tables/DepartmentForms.h"
#include "tables/DivisionForms.h"
#include "tables/ExtensionForms.h"
#include "tables/LineForms.h"
#include "tables/frmmanager.h"
#include "utilities/fdeletecalls.h"
#include "utilities/fhobiccall.h"
#include "utilities/frmprintjobs.h"
#include "widgets/WindowRegistry.h"

namespace quillon {

namespace {
// A window made with the row of a grid (a QStringList of its cells) that its opener passes.
template <class W>
void addRowWindow(const QString& name) {
    WindowRegistry::add(
        WindowEntry{name, QString(), [](QWidget* parent, const QVariant& row) -> QWidget* {
                        return new W(row.toStringList(), parent);
                    }});
}
// A window made with the price-list line its opener passes.
template <class W>
void addLineWindow(const QString& name) {
    WindowRegistry::add(
        WindowEntry{name, QString(), [](QWidget* parent, const QVariant& line) -> QWidget* {
                        return new W(line.value<PriceLine>(), parent);
                    }});
}
}  // namespace

void registerWindows() {
    using R = WindowRegistry;
    // Start-up.
    R::add<frmSplash>(QStringLiteral("frmSplash"));
    R::add<fgetdata>(QStringLiteral("fgetdata"));
    R::add<fSites>(QStringLiteral("fSites"), QStringLiteral("cmdEdit"));
    R::add(WindowEntry{QStringLiteral("frmLogin"), QString(),
                       [](QWidget* parent, const QVariant& siteNames) -> QWidget* {
                           return new frmLogin(siteNames.toStringList(), parent);
                       }});
    // User administration.
    R::add<frmPermissions>(QStringLiteral("frmPermissions"), QStringLiteral("cmdadduser"));
    R::add<frmmodusers>(QStringLiteral("frmmodusers"), QStringLiteral("cmdmoduser"));
    R::add<frmchangepasswd>(QStringLiteral("frmchangepasswd"), QStringLiteral("cmdpasswd"));
    R::add<frmpasswd>(QStringLiteral("frmpasswd"), QStringLiteral("cmduserpasswd"));
    R::add<frmdeluser>(QStringLiteral("frmdeluser"), QStringLiteral("cmddeluser"));
    // Reports.
    R::add<fDetailReport>(QStringLiteral("fDetailReport"), QStringLiteral("cmddetail"));
    R::add<fcost>(QStringLiteral("fcost"), QStringLiteral("cmdcost"));
    R::add<fWatchdog>(QStringLiteral("fWatchdog"), QStringLiteral("cmdWatchdog"));
    R::add<fAuth>(QStringLiteral("fAuth"), QStringLiteral("cmdauth"));
    R::add<funusedstations>(QStringLiteral("funusedstations"), QStringLiteral("cmdunusedstations"));
    R::add<fAuditReport>(QStringLiteral("fAuditReport"), QStringLiteral("cmdAudit"));
    R::add<fstatsreport>(QStringLiteral("fstatsreport"), QStringLiteral("cmdstats"));
    R::add<fcrono>(QStringLiteral("fcrono"), QStringLiteral("cmdcrono"));
    R::add<fTrunk>(QStringLiteral("fTrunk"), QStringLiteral("cmdtrunk"));
    R::add<FAreacode>(QStringLiteral("FAreacode"), QStringLiteral("cmdAreaCode"));
    // Organisation tables: the manager, and its forms, which a modify form gets the grid row's
    // cells for.
    R::add<frmmanager>(QStringLiteral("frmmanager"), QStringLiteral("cmdmanager"));
    R::add<fAddDiv>(QStringLiteral("fAddDiv"));
    R::add<fAddDpt>(QStringLiteral("fAddDpt"));
    R::add<fAddext>(QStringLiteral("fAddext"));
    R::add<FAddLine>(QStringLiteral("FAddLine"));
    addRowWindow<fEditDiv>(QStringLiteral("fEditDiv"));
    addRowWindow<feditdpt>(QStringLiteral("feditdpt"));
    addRowWindow<feditext>(QStringLiteral("feditext"));
    addRowWindow<feditline>(QStringLiteral("feditline"));
    // Call pricing: the calculator, the area-code menu and its windows; the modify form gets
    // the area-code window's grid row.
    R::add<fcallcalc>(QStringLiteral("fcallcalc"), QStringLiteral("cmdcallcalc"));
    R::add<frmareacode>(QStringLiteral("frmareacode"), QStringLiteral("cmdareacodes"));
    R::add<frmac>(QStringLiteral("frmac"));
    R::add<frmaddac>(QStringLiteral("frmaddac"));
    addRowWindow<frmeditAC>(QStringLiteral("frmeditAC"));
    // Price lists: the menu after the pricing question, the two lists, and their modify forms,
    // which get the chosen line.
    R::add<frmDatabase>(QStringLiteral("frmDatabase"));
    R::add<frmdomesticpricing>(QStringLiteral("frmdomesticpricing"));
    R::add<frminternational>(QStringLiteral("frminternational"));
    addLineWindow<frmdomesticpricingmodify>(QStringLiteral("frmdomesticpricingmodify"));
    addLineWindow<frminternationalpricingmodify>(QStringLiteral("frminternationalpricingmodify"));
    // Backups: the menu, and the windows it and the manage menu open.
    R::add<Fbackuprestore>(QStringLiteral("Fbackuprestore"), QStringLiteral("cmdbackupmenu"));
    R::add<fbackup>(QStringLiteral("fbackup"));
    R::add<frestore>(QStringLiteral("frestore"));
    R::add<fmanagebackups>(QStringLiteral("fmanagebackups"));
    R::add<fdeletebackups>(QStringLiteral("fdeletebackups"));
    R::add<fbringbackbackups>(QStringLiteral("fbringbackbackups"));
    // Server utilities.
    R::add<fdeletecalls>(QStringLiteral("fdeletecalls"), QStringLiteral("cmddelete"));
    R::add<frmprintjobs>(QStringLiteral("frmprintjobs"), QStringLiteral("cmddelprint"));
    R::add<fhobiccall>(QStringLiteral("fhobiccall"), QStringLiteral("cmdtestcall"));
    // The main window's own.
    R::add<Reports>(QStringLiteral("Reports"), QStringLiteral("cmdbringreport"));
    R::add<frmquestion>(QStringLiteral("frmquestion"), QStringLiteral("cmddatabase"));
    R::add<fErrors>(QStringLiteral("fErrors"));
}

}  // namespace quillon
