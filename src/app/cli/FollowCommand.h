// vexor --follow: the load and its outputs again and again while a game server writes its logs,
// until SIGINT or SIGTERM.
#pragma once

#include <functional>

#include "app/cli/CommandLine.h"

namespace vexor {

class DocumentOperations;
class VexoriumDoc;
struct LogSelection;

// Follows the request's logs through the operations: every update loads them (each up to its
// last whole line) and then calls afterLoad(first) to write the outputs, first being true for the
// first successful load; afterLoad returns false when an output failed. One line per later update
// on standard output unless quiet; notices on standard error. Returns the exit status once a
// signal stopped it: that of the last update. Files are only ever replaced whole, so a stop
// leaves every output complete.
int FollowLogs(const CliRequest& request, DocumentOperations& operations, const VexoriumDoc& doc,
               LogSelection& selection, const std::function<bool(bool first)>& afterLoad);

}  // namespace vexor
