// What the server-log and the client-log writers share: a game at a time in, counts out.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "GamePlan.h"

namespace vexor::bench {

// Counts of what a generated log holds, by name ("games", "mod.MOD_ROCKET", ...), so that a
// test can compare them with what a reader finds.
class GeneratorSummary {
 public:
  void Add(const std::string& key, int64_t amount = 1) { m_values[key] += amount; }
  void Set(const std::string& key, int64_t value) { m_values[key] = value; }
  // 0 when the key was never counted.
  int64_t Get(const std::string& key) const;
  // One "key value" line per count, in key order.
  std::string Text() const;

 private:
  std::map<std::string, int64_t> m_values;
};

class LogWriter {
 public:
  virtual ~LogWriter() = default;
  // Writes the lines of one game; games come in order.
  virtual void WriteGame(const GamePlan& plan) = 0;
  // Writes what follows the last game and adds the counts to the summary.
  virtual void Finish(GeneratorSummary* summary) = 0;
};

}  // namespace vexor::bench
