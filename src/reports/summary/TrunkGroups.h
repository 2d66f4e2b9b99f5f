#pragma once
// The trunk groups of the trunk and area-code reports: trunk.csv holds one line per trunk, so a
// group stands on several lines; each group is listed once, as "000#" and the text of its first
// line, with its key.
namespace quillon {

class ListPair;

// Empties the lists and offers the current site's trunk groups; a missing table or lines
// without a text are told once the groups are listed.
void loadTrunkGroups(ListPair& lists);

}  // namespace quillon
