// The settings file START/config/data.dat: the log directory and the options as a flat sequence
// of fixed-width fields (layout in docs/FORMATS.md).
#pragma once

#include <string>

#include "stats/Options.h"

namespace vexor {

class ArchiveWriter;
class VexoriumDoc;

std::string SettingsPath(const std::string& startDirectory);

// Reads the settings file at the start of a load. A missing file restores the defaults of the
// log directory, the short-game filter and game summing (the weapon display flags and
// auto-sort keep their values); a short or unreadable file keeps what could be read.
void LoadSettings(VexoriumDoc& doc, const std::string& startDirectory);

// Encodes the 16 fields.
void WriteSettings(ArchiveWriter& archive, const std::string& logDirectory, const Options& options);

// Writes the settings file safely, creating the config folder when it is missing. False, with
// a message naming the file in *error, when the file cannot be written; the previous file is
// then left as it was.
bool SaveSettings(const std::string& startDirectory, const std::string& logDirectory,
                  const Options& options, std::string* error);

}  // namespace vexor
