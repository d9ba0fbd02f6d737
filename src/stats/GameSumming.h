// Summing games into groups: from the group start on, every group-size consecutive games become
// one game of the statistics, for the players and for the game records.
#pragma once

namespace vexor {

class VexoriumDoc;

// Sums the games of the document when the options ask for it (sum games on, group size above
// 1). Games before the group start stay single. A group start below 1 is read as 1; a group
// start beyond the last game leaves the games as they are. A group size above the game count
// becomes the game count (the option itself is changed). May throw std::bad_alloc.
void SumGames(VexoriumDoc& doc);

}  // namespace vexor
