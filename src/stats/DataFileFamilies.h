// The data file's section of the other games' families: written after the presence table only
// when the statistics hold a game of a family other than Quake III's (Urban Terror, Jedi
// Academy, Jedi Outcast), so that a data file of Quake III logs keeps its bytes. It holds each
// game's family and what the other games' weapons counted: the players' frag totals and game
// frags with them, and the games' kill tables of them (docs/FORMATS.md).
#pragma once

#include <string>

namespace vexor {

class ArchiveReader;
class ArchiveWriter;
class VexoriumDoc;
struct DataFileContents;

// True when the document needs the section.
bool NeedsFamilySection(const VexoriumDoc& doc);
// Writes the section (its counts clamped as the rest of the file's).
void WriteFamilySection(ArchiveWriter& archive, const VexoriumDoc& doc);
// Reads the section into contents whose counts and players are read; every count is checked
// against the bytes left before anything is sized from it. False with *problem when it is
// damaged.
bool ReadFamilySection(ArchiveReader& archive, DataFileContents* contents, std::string* problem);

}  // namespace vexor
