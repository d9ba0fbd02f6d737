#include "stats/DataFile.h"

#include <algorithm>
#include <utility>

#include "base/Archive.h"
#include "base/AtomicFile.h"
#include "base/FileSystem.h"
#include "base/StringPrintf.h"
#include "platform/Prompter.h"
#include "stats/DataFileReader.h"
#include "stats/DataFileWriter.h"
#include "stats/DerivedValues.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

// A file source that tells an observer how far the reading is, after every megabyte at most,
// and reads nothing more once the observer asked to stop.
class ObservedSource : public ByteSource {
 public:
  static constexpr size_t kStep = 1 << 20;

  ObservedSource(ByteSource& source, const DataFileReadObserver& observer)
      : m_source(source), m_observer(observer) {}
  size_t ReadSome(char* destination, size_t max) override {
    if (m_stopped) return 0;
    size_t got = m_source.ReadSome(destination, std::min(max, kStep));
    m_done += got;
    m_stopped = !m_observer(m_done, m_source.Size());
    return m_stopped ? 0 : got;
  }
  uint64_t Size() const override { return m_source.Size(); }
  bool Stopped() const { return m_stopped; }

 private:
  ByteSource& m_source;
  const DataFileReadObserver& m_observer;
  uint64_t m_done = 0;
  bool m_stopped = false;
};

enum class ReadOutcome { kRead, kBad, kStopped };

ReadOutcome ReadContents(const std::string& path, const DataFileReadObserver& observer,
                         DataFileContents* contents, std::string* problem) {
  FileSource file;
  if (!file.Open(path)) {
    *problem = "it does not exist or cannot be read";
    return ReadOutcome::kBad;
  }
  if (!observer) {
    ArchiveReader archive(file);
    return ReadDataFile(archive, contents, problem) ? ReadOutcome::kRead : ReadOutcome::kBad;
  }
  ObservedSource source(file, observer);
  ArchiveReader archive(source);
  bool read = ReadDataFile(archive, contents, problem);
  if (source.Stopped()) return ReadOutcome::kStopped;
  return read ? ReadOutcome::kRead : ReadOutcome::kBad;
}

// A file saved after a client log carries no times the views could show.
void ClearClientLogTimes(DataFileContents& contents) {
  for (int32_t p = 1; p <= contents.nameCount; ++p) {
    PlayerRecord& player = contents.players[static_cast<size_t>(p)];
    player.totalSeconds = 0;
    player.connectTime.clear();
    player.disconnectTime.clear();
    GameSeries& series = player.games;
    for (size_t e = 0; e < series.EntryCount(); ++e) {
      PlayerGame& game = series.ValueAt(e);
      game.fragsPerHour = game.deathsPerHour = game.suicidesPerHour = 0;
    }
  }
}

// A record as a load resets it, with custom-variable totals for the sets in use.
PlayerRecord ResetPlayer(int32_t clientVarCount, int32_t serverVarCount) {
  PlayerRecord player;
  player.clientVarTotals.assign(static_cast<size_t>(clientVarCount) + 1, 0);
  player.serverVarTotals.assign(static_cast<size_t>(serverVarCount) + 1, 0);
  return player;
}

// Moves the checked contents into the document; nothing here can fail.
void Install(DataFileContents&& contents, VexoriumDoc& doc) {
  doc.nameCount = contents.nameCount;
  doc.playerCount = contents.nameCount;
  doc.gameCount = contents.gameCount;
  doc.displayedGameCount = contents.displayedGameCount;
  doc.teamArenaSet = contents.teamArenaSet;
  doc.clientLogSeen = contents.clientLogSeen;
  doc.serverLogAbsent = contents.serverLogAbsent;
  doc.familiesRead = contents.familiesRead;
  doc.clientVarCount = contents.clientVarCount;
  doc.serverVarCount = contents.serverVarCount;
  doc.clientVars = std::move(contents.clientVars);
  doc.serverVars = std::move(contents.serverVars);
  for (int32_t p = 0; p < VexoriumDoc::kPlayerSlots; ++p) {
    doc.players[static_cast<size_t>(p)] =
        p <= contents.nameCount ? std::move(contents.players[static_cast<size_t>(p)])
                                : ResetPlayer(contents.clientVarCount, contents.serverVarCount);
  }
  for (int32_t g = 0; g < VexoriumDoc::kGameSlots; ++g) {
    doc.games[static_cast<size_t>(g)] =
        g <= contents.gameCount ? std::move(contents.games[static_cast<size_t>(g)]) : GameRecord{};
  }
  doc.presence = std::move(contents.presence);
  doc.NamesFromPlayers();
  doc.RebuildPlayerIndexes();
}

}  // namespace

bool SaveDataFile(const VexoriumDoc& doc, const std::string& path, std::string* error) {
  // Not flushed to the disk before the rename: the file is dense (close to 1 GB at the limits)
  // and the flush alone took several times as long as writing it. The temporary file and the
  // rename still keep the previous file through every failure but a power loss.
  AtomicFile file(false);
  if (!file.Open(path)) {
    if (error != nullptr) *error = file.Error();
    return false;
  }
  {
    ArchiveWriter archive(file);
    WriteDataFile(archive, doc);
  }
  if (!file.Commit()) {
    if (error != nullptr) *error = file.Error();
    return false;
  }
  if (error != nullptr) error->clear();
  return true;
}

bool OpenDataFile(VexoriumDoc& doc, LogSelection& selection, Prompter& prompter,
                  const std::string& startDirectory, const std::string& path,
                  const DataFileReadObserver& observer) {
  DataFileContents contents;
  std::string problem;
  ReadOutcome outcome = ReadContents(path, observer, &contents, &problem);
  if (outcome == ReadOutcome::kStopped) return false;
  if (outcome == ReadOutcome::kBad) {
    prompter.Inform(StringPrintf("The data file \"%s\" cannot be opened: %s. The statistics were "
                                 "not changed.",
                                 path.c_str(), problem.c_str()),
                    "Warning!");
    return false;
  }
  if (contents.clientLogSeen) ClearClientLogTimes(contents);
  for (int32_t p = 1; p <= contents.nameCount; ++p) {
    contents.players[static_cast<size_t>(p)].UpdateTimeText();
  }
  Install(std::move(contents), doc);
  StoreDerivedValues(doc);

  selection.selectedFileCount = 1;
  selection.selectedLogPath = path;
  selection.selectedLogFiles[0] = path;
  doc.currentLogPath = path;
  doc.reportIndexPath = JoinPath(JoinPath(startDirectory, "html"), "games.htm");
  doc.storageAllocated = true;
  selection.dataAvailable = true;
  doc.startupPending = false;
  doc.refresh = true;
  return true;
}

}  // namespace vexor
