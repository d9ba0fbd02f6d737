#include "TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "LogGenerator.h"
#include "base/Archive.h"
#include "base/StringPrintf.h"
#include "stats/DerivedValues.h"

namespace vexor::test {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vexor-test-XXXXXX").string();
  char* made = ::mkdtemp(pattern.data());
  if (made == nullptr) std::abort();
  m_path = made;
}

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::remove_all(m_path, error);
}

std::string TempFolder::Write(const std::string& name, std::string_view bytes) const {
  std::string path = File(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes)
    byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

std::string WithCarriageReturns(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

void WriteLogWithHugeLines(const std::string& path, std::string_view head, std::string_view pattern,
                           std::string_view after) {
  std::ofstream out(path, std::ios::binary);
  out << head;
  std::string chunk;
  while (chunk.size() < (1 << 20))
    chunk += pattern;
  chunk.resize(1 << 20);
  for (int i = 0; i < 100; ++i) {
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
  }
  out << "\n" << after;
  std::string tail(2 << 20, 'z');
  out.write(tail.data(), static_cast<std::streamsize>(tail.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view line : lines) {
    out.append(line);
    out.push_back('\n');
  }
  return out;
}

std::string At(std::string_view clock, std::string_view event) {
  return StringPrintf("%6.*s %.*s", static_cast<int>(clock.size()), clock.data(),
                      static_cast<int>(event.size()), event.data());
}

std::string Connect(std::string_view clock, int client, std::string_view rawName,
                    std::string_view model) {
  std::string connect = At(clock, StringPrintf("ClientConnect: %d", client));
  std::string info =
      At(clock,
         StringPrintf("ClientUserinfoChanged: %d n\\%.*s\\t\\0\\model\\%.*s\\hmodel\\%.*s\\c1\\4",
                      client, static_cast<int>(rawName.size()), rawName.data(),
                      static_cast<int>(model.size()), model.data(), static_cast<int>(model.size()),
                      model.data()));
  return connect + "\n" + info;
}

std::string InitGame(std::string_view clock, std::string_view map, int gameType, int fragLimit,
                     int timeLimit) {
  return At(clock,
            StringPrintf("InitGame: "
                         "\\sv_hostname\\Test\\g_gametype\\%d\\fraglimit\\%d\\timelimit\\%"
                         "d\\mapname\\%.*s\\gamename\\baseq3",
                         gameType, fragLimit, timeLimit, static_cast<int>(map.size()), map.data()));
}

ServerVariable KillVariable(int32_t id1, int32_t id2, int32_t id3) {
  ServerVariable v;
  v.name = "rails";
  v.idstring = "Kill:";
  v.modstring = "MOD_RAILGUN";
  v.id1 = id1;
  v.id2 = id2;
  v.id3 = id3;
  return v;
}

std::string DuelGame(int rails) {
  std::string lines = InitGame("0:00", rails % 2 ? "q3dm17" : "q3dm6") + "\n" +
                      Connect("0:00", 1, "^1Alice") + "\n" + Connect("0:01", 2, "Bob") + "\n";
  for (int k = 0; k < rails; ++k)
    lines += At("0:20", "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN") + "\n";
  return lines + At("0:40", "Kill: 2 1 7: Bob killed Alice by MOD_ROCKET_SPLASH") + "\n" +
         At("3:00", "ShutdownGame:") + "\n";
}

LoadFixture::LoadFixture() {
  doc.startupPending = false;
}

std::string LoadFixture::WriteLog(const std::string& name, std::string_view bytes) {
  return folder.Write(name, bytes);
}

bool LoadFixture::Load(const std::vector<std::string>& paths) {
  doc.ResetForLoad();
  LogAnalysis analysis(doc, selection, prompter);
  for (const std::string& path : paths) {
    doc.clientGameCounter = 0;
    doc.currentLogPath = path;
    if (!analysis.AnalyseLogFile(true)) return false;
  }
  doc.PrepareStatistics();
  for (const std::string& path : paths) {
    doc.clientGameCounter = 0;
    doc.currentLogPath = path;
    if (!analysis.AnalyseCurrentLog(true)) return false;
  }
  StoreDerivedValues(doc);  // as the driver ends a load
  return true;
}

int32_t LoadFixture::PlayerNumber(std::string_view name) const {
  for (int32_t p = 1; p <= doc.nameCount; ++p) {
    if (doc.players[static_cast<size_t>(p)].name == name) return p;
  }
  return -1;
}

void LoadFixture::ExpectRecordsMatchNames() const {
  EXPECT_EQ(doc.playerCount, doc.nameCount);
  for (int32_t k = 1; k <= doc.nameCount; ++k) {
    EXPECT_EQ(doc.players[static_cast<size_t>(k)].name, doc.PlayerName(k)) << "record " << k;
  }
}

const PlayerRecord& LoadFixture::Player(std::string_view name) const {
  int32_t p = PlayerNumber(name);
  EXPECT_GT(p, 0) << "no player named " << name;
  return doc.players[static_cast<size_t>(p < 0 ? 0 : p)];
}

DriverLoad::DriverLoad() : driver(doc, selection, prompter, folder.Path()) {
  driver.SetProgress(this);
  driver.SetReportEnabled(false);
  driver.OnNewDocument();  // start-up
}

bool DriverLoad::LoadFiles(const std::vector<std::string>& paths) {
  selection.selectedFileCount = static_cast<int32_t>(paths.size());
  if (paths.size() == 1) {
    selection.selectedLogPath = paths[0];
  } else {
    for (size_t i = 0; i < paths.size(); ++i)
      selection.selectedLogFiles[i] = paths[i];
    selection.selectedLogPath = paths.back();
  }
  selection.dataAvailable = false;  // as the shell does before a load
  return driver.OnNewDocument();
}

std::string DriverLoad::LastMessage() const {
  return prompter.Messages().empty() ? std::string() : prompter.Messages().back().text;
}

void DriverLoad::StepStarted(WorkStep pass, int fileIndex, int) {
  if (onFileStarted) onFileStarted(pass, fileIndex);
}

std::string ClientLog(std::initializer_list<std::string_view> lines) {
  std::string out = "logfile opened on Sun May 12 13:15:48 2024\n";
  for (std::string_view line : lines) {
    out.append(line);
    out.push_back('\n');
  }
  return out;
}

int32_t AddPlayer(VexoriumDoc& doc, const std::string& name, int32_t frags, int32_t deaths,
                  int32_t suicides, int32_t seconds) {
  int32_t p = ++doc.nameCount;
  doc.playerCount = p;
  PlayerRecord& player = doc.players[static_cast<size_t>(p)];
  player.frags = frags;
  player.deaths = deaths;
  player.suicides = suicides;
  player.totalSeconds = seconds;
  player.UpdateTimeText();
  doc.SetPlayerName(p, name);
  StoreDerivedValues(doc);  // as a load or an open does
  return p;
}

namespace {

template <typename Set>
void Define(Set& set, int32_t* count, int32_t n, const std::string& prefix,
            std::initializer_list<int32_t> hidden) {
  *count = n;
  for (int32_t v = 1; v <= n; ++v) {
    set[static_cast<size_t>(v)].name = prefix + std::to_string(v);
    set[static_cast<size_t>(v)].visible = std::count(hidden.begin(), hidden.end(), v) == 0;
  }
}

}  // namespace

void DefineClientVariables(VexoriumDoc& doc, int32_t n, const std::string& prefix,
                           std::initializer_list<int32_t> hidden) {
  Define(doc.clientVars, &doc.clientVarCount, n, prefix, hidden);
}

void DefineServerVariables(VexoriumDoc& doc, int32_t n, const std::string& prefix,
                           std::initializer_list<int32_t> hidden) {
  Define(doc.serverVars, &doc.serverVarCount, n, prefix, hidden);
}

std::string Generate(const bench::GeneratorOptions& options, bench::GeneratorSummary* summary) {
  StringSink sink;
  bench::GenerateLog(options, sink, summary);
  return sink.Bytes();
}

}  // namespace vexor::test
