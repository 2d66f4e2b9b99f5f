#pragma once
// The catalogue of the 26 grantable menu buttons: g_ButtonLabels ("01.RPT Detail Report") are
// what the user-administration windows show, g_ButtonNames ("01.cmddetail") what the button
// files store. Entries 1..26 are used; index 0 stays empty.
namespace quillon {

// Fills G().g_ButtonLabels and G().g_ButtonNames, entries 1..26; empties index 0.
void fillButtonCatalogue();

}  // namespace quillon
