// Export of the loaded player statistics as comma-separated values: one line per player and,
// on request, one line per game that each player played, directly after the player's own line.
// There is no header line; the columns are fixed, followed by the custom variables that are
// visible in statistics (the layout is in docs/FORMATS.md).
#pragma once

#include <string>
#include <string_view>

namespace vexor {

class VexoriumDoc;

// Writes the players 1 to the name count of doc to the file at path, each followed by its game
// lines when gameByGame is set. Values are separated by ", " and every line ends with CR LF.
// A name that contains a comma, a double quote, a carriage return or a line feed is written in
// double quotes with its inner quotes doubled (on a game line the whole "NAME: Game N" field);
// every other field is written as it stands.
//
// The file is written beside its target and renamed over it when complete. False, with a
// message naming the file in *error (when error is given), when it cannot be created or
// written; any previous file at path is then left as it was.
bool ExportCsv(const VexoriumDoc& doc, const std::string& path, bool gameByGame,
               std::string* error);

// Appends field to *out, in double quotes with inner quotes doubled when it contains a comma, a
// double quote, a carriage return or a line feed; unchanged otherwise.
void AppendCsvField(std::string* out, std::string_view field);

}  // namespace vexor
