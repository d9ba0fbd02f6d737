// The loaded statistics as one JSON document: the load's counts and flags, both sets of
// custom-variable definitions, every player with totals and per-game values, every game with its
// settings and kill tables. The layout is described in docs/JSON.md.
//
// Texts from the logs are bytes in no particular encoding. A text that is valid UTF-8 is written
// as such; any other text is read as Latin-1, so each of its bytes from 0x80 up becomes the
// character of the same number (written "\u00XX"). This is how the desktop program shows names.
// Floats are written with nine significant digits (they read back to the same float); a value
// that is not finite is written as null.
#pragma once

#include <string>
#include <string_view>

namespace vexor {

class ByteSink;
class VexoriumDoc;

// Writes the whole document to the sink, buffered in large pieces.
void WriteJson(const VexoriumDoc& doc, ByteSink& sink);

// Writes the JSON document to path through a temporary file that replaces path only when
// complete (and flushed to the disk). False with a message naming the file when it failed; the
// previous file at path is then left untouched.
bool ExportJson(const VexoriumDoc& doc, const std::string& path, std::string* error);

// Appends bytes as a JSON string literal, quotes included: '"', '\' and control characters
// escaped, text that is not valid UTF-8 read as Latin-1.
void AppendJsonString(std::string* out, std::string_view bytes);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

}  // namespace vexor
