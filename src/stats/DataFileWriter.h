// Writing a saved data file: the document's statistics in the file's field order (layout in
// docs/FORMATS.md).
#pragma once

namespace vexor {

class ArchiveWriter;
class VexoriumDoc;

// Writes the whole file. Counts are written clamped to what a data file may hold (names 0 to
// 2500, games 0 to 5000, displayed games 0 to the game count, variables 0 to 49), so that
// whatever is saved can be opened again. Players' games without an entry and kill-table cells
// that are not stored are written as zeros; flags are written 1 or 0.
void WriteDataFile(ArchiveWriter& archive, const VexoriumDoc& doc);

}  // namespace vexor
