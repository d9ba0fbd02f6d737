// What the passes over one log share: the document they write into, the reading of the file (a
// ReadAhead with the pass's line parser, the read observer and its stop), the in-game positions
// of records, and the application of a matching custom variable's change slots.
//
// A pass object reads one file once: ServerLogPass (games, connections, kills) and ClientLogPass
// (console messages) derive from it, each in its own files with its own handlers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "customvars/CustomVariables.h"
#include "log/LineBatch.h"
#include "log/ReadAhead.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

// Called while a pass reads, with the bytes read so far and the file's size: after every
// megabyte read and once at the end of the file. Returning false stops the pass: it reads no
// further line and fails.
using ReadObserver = std::function<bool(uint64_t bytesRead, uint64_t size)>;

class LogPass {
 public:
  // The pass reads the first limit bytes of the log (kWholeLog: all of it).
  LogPass(VexoriumDoc& doc, const ReadObserver& observer, uint64_t limit);
  virtual ~LogPass() = default;
  LogPass(const LogPass&) = delete;
  LogPass& operator=(const LogPass&) = delete;

  // True when the read observer stopped the pass.
  bool Stopped() const { return m_stopped; }

 protected:
  enum class VariableSide { kClient, kServer };
  // A player a matching line names: the key and the raw text it came from (views into the
  // line, the caller's keys or a player record).
  struct NamedPlayer {
    std::string_view name;
    std::string_view rawName;
    int32_t record = -1;  // the record the name was read from (server variables), else -1
    int32_t number = kNameNotLookedUp;  // the name's number, when the parser gave it
  };
  // What a name look-up gave (a record's own name, or the name of a name number), kept while
  // the index of record names and the name count stay as they were.
  struct RecordLookup {
    uint64_t indexVersion = 0;
    int32_t nameCount = -1;
    int32_t found = -1;

    bool Holds(const VexoriumDoc& doc) const {
      return indexVersion == doc.PlayerIndexVersion() && nameCount == doc.nameCount;
    }
    void Keep(const VexoriumDoc& doc, int32_t record) {
      *this = {doc.PlayerIndexVersion(), doc.nameCount, record};
    }
  };

  // Starts reading the document's current log path with the pass's parser.
  bool OpenLog(std::unique_ptr<LineParser> parser);
  // The next line; m_facts and m_batch tell what its parser found. A line and its facts stay
  // valid while one more line is read. A stopped pass reads nothing more.
  bool NextLine(std::string_view* line);
  // The same, passing over the lines of no kind that no variable matches (most of a server
  // log), and those of the kind `alsoPass` too; *passed tells whether it passed over any.
  bool NextEventLine(std::string_view* line, bool* passed, LineKind alsoPass = LineKind::kOther);
  // Asks the observer on as the reading passes each further step.
  void ReportProgress();
  // Ends the reading: true when the whole file was read.
  bool FinishPass();

  // The in-game position of record p (1 to the name count) in the current game; -1 when it is
  // not present there. Presence is settled before the statistics pass, so a record's position
  // is kept for the game it was asked in.
  int32_t PresentPosition(int32_t p);
  // The current game's player number, or -1 when the game has no record.
  int32_t CurrentPlayerNumber() const;
  // A single reading at the end of a game: its player number counted from the presence table
  // and its kill tables sized, as the two passes settle every game's between them.
  void SettleGameTables();

  // Applies a matching variable's change slots, in their order, to the players the line names:
  // each slot with a change adds its value to its target variable (ignored outside 0 to the
  // set's count) for its player, in total and in the current game. A player is looked up once
  // for all its slots (VariablePlayer).
  void ApplyVariableMatch(VariableSide side, const ChangeSlots& slots,
                          const NamedPlayer (&named)[2], bool statistics);
  // The record of a player a variable's match names; -1 when none (or in a discovery pass,
  // which finds names only).
  virtual int32_t VariablePlayer(const NamedPlayer& named, bool statistics) = 0;

  VexoriumDoc& m_doc;
  const LineFacts* m_facts = nullptr;
  const LineBatch* m_batch = nullptr;

 private:
  void AddToVariableCounts(VariableSide side, int32_t p, int32_t target, int32_t amount);

  struct KeptPosition {
    int32_t game = -1;
    int32_t position = -1;
  };

  const ReadObserver& m_observer;
  uint64_t m_limit;
  std::unique_ptr<LineParser> m_parser;  // outlives the reading
  ReadAhead m_reader;
  uint64_t m_lastReport = 0;
  bool m_stopped = false;
  std::vector<KeptPosition> m_positions;  // by record (PresentPosition)
};

}  // namespace vexor
