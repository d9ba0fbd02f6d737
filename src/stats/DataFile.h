// The saved data file: everything a load produced (counts, custom-variable definitions, player
// records with their values of every game, game records with their kill tables, presence), so
// that it can be reopened later in place of a load. Layout in docs/FORMATS.md.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vexor {

class VexoriumDoc;
class Prompter;
struct LogSelection;

// Writes the document's statistics to path. The file is written under a temporary name beside
// path, flushed to the disk and renamed over path only when complete, so a failed save leaves
// any previous file as it was and no partial file behind. False with *error (when given), a
// message naming the file, when the file cannot be created, written or replaced.
bool SaveDataFile(const VexoriumDoc& doc, const std::string& path, std::string* error);

// Called while a data file is read, with the bytes read so far and the file's size: after every
// megabyte and at the end. Returning false stops the reading.
using DataFileReadObserver = std::function<bool(uint64_t bytesRead, uint64_t size)>;

// Opens a data file in place of a load. The whole file is read and checked before anything of
// the document changes; a missing, truncated or damaged file leaves the document and the
// selection exactly as they were, shows one message naming the file (caption "Warning!") and
// returns false. A reading stopped by the observer returns false the same way but shows
// nothing.
//
// On success the statistics, the counts, the flags of the file and both custom-variable sets
// replace the document's; time texts are rebuilt from the total seconds (all times are cleared
// when the file came from client logs); the selection names the file as the single log of the
// load (the document's current log path too); the report index path is
// startDirectory/html/games.htm; storage allocated, data available and refresh are set and
// start-up pending cleared. Options, the log directory and the current screen are kept. The
// HTML report is not written here: the caller writes it afterwards.
bool OpenDataFile(VexoriumDoc& doc, LogSelection& selection, Prompter& prompter,
                  const std::string& startDirectory, const std::string& path,
                  const DataFileReadObserver& observer = nullptr);

}  // namespace vexor
