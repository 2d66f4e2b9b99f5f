#include "app/WindowTable.h"

#include "access/frmLogin.h"
#include "menu/Reports.h"
#include "menu/fErrors.h"
#include "menu/frmquestion.h"
#include "reports/selection/fAuth.h"
#include "reports/selection/fDetailReport.h"
#include "reports/selection/fWatchdog.h"
#include "reports/selection/fcost.h"
#include "reports/selection/funusedstations.h"
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
    // Reports.
    R::add<fDetailReport>(QStringLiteral("fDetailReport"), QStringLiteral("cmddetail"));
    R::add<fcost>(QStringLiteral("fcost"), QStringLiteral("cmdcost"));
    R::add<fWatchdog>(QStringLiteral("fWatchdog"), QStringLiteral("cmdWatchdog"));
    R::add<fAuth>(QStringLiteral("fAuth"), QStringLiteral("cmdauth"));
    R::add<funusedstations>(QStringLiteral("funusedstations"), QStringLiteral("cmdunusedstations"));
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
