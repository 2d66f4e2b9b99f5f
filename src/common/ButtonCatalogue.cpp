#include "common/ButtonCatalogue.h"

#include "common/Globals.h"

namespace quillon {

namespace {

struct CatalogueEntry {
    const char* label;
    const char* name;
};

// In catalogue order; the number in front of each entry is its index.
constexpr CatalogueEntry kCatalogue[kButtonCount] = {
    {"01.RPT Detail Report", "01.cmddetail"},
    {"02.RPT Audit Report", "02.cmdAudit"},
    {"03.RPT Cost Report", "03.cmdcost"},
    {"04.RPT Stats Report", "04.cmdstats"},
    {"05.RPT Watchdog Report", "05.cmdWatchdog"},
    {"06.RPT Crono Report", "06.cmdcrono"},
    {"07.RPT Trunk Report", "07.cmdtrunk"},
    {"08.RPT AreaCode Report", "08.cmdAreaCode"},
    {"09.RPT Auth Report", "09.cmdauth"},
    {"10.RPT Call Calculator Report", "10.cmdcallcalc"},
    {"11.MGR Manager Menu", "11.cmdmanager"},
    {"12.UTL Delete Print Jobs on Server Menu", "12.cmddelprint"},
    {"13.UTL Synch PC to SERVER", "13.cmdsynch"},
    {"14.UTL Bring Back Reports Menu", "14.cmdbringreport"},
    {"15.UTL Delete Calls Menu", "15.cmddelete"},
    {"16.UTL Unlock Tables on Server", "16.cmdunlock"},
    {"17.UTL Make Fake Test Calls", "17.cmdtestcall"},
    {"18.UTL Configure Sites", "18.cmdedit"},
    {"19.UTL Backup", "19.cmdbackupmenu"},
    {"20.USER Add Users", "20.cmdadduser"},
    {"21.USER Modify users", "21.cmdmoduser"},
    {"22.USER Modify users Passwords", "22.cmdpasswd"},
    {"23.USER Delete users", "23.cmddeluser"},
    {"24.UTL Database", "24.cmddatabase"},
    {"25.UTL Area Codes and Prefixes", "25.cmdareacodes"},
    {"26.RPT UnUsed Station Report", "26.cmdunusedstations"},
};

}  // namespace

void fillButtonCatalogue() {
    Globals& g = G();
    g.g_ButtonLabels[0].clear();
    g.g_ButtonNames[0].clear();
    for (int i = 1; i <= kButtonCount; ++i) {
        g.g_ButtonLabels[i] = QString::fromLatin1(kCatalogue[i - 1].label);
        g.g_ButtonNames[i] = QString::fromLatin1(kCatalogue[i - 1].name);
    }
}

}  // namespace quillon
