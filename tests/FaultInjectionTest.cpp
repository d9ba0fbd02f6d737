// Writing when the disk says no: every writer of the program (settings, data file, CSV, JSON,
// report, variable file, cleaned log) against a missing folder, a path through a regular file, a
// folder it may not write in and a disk that fills up part-way. Each must fail, say so naming the
// file, keep the previous file byte for byte and leave no temporary file behind.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "TestSupport.h"
#include "VariableSets.h"
#include "base/AtomicFile.h"
#include "report/HtmlReport.h"
#include "stats/CsvExport.h"
#include "stats/DataFile.h"
#include "stats/JsonExport.h"
#include "stats/LogCleaner.h"
#include "stats/Settings.h"
#include "ui/VariableWorkingCopy.h"

namespace vexor {
namespace {

namespace fs = std::filesystem;
using test::At;
using test::Connect;
using test::InitGame;
using test::Lines;

// Every regular file under folder: relative path to bytes.
using Files = std::map<std::string, std::string>;
Files FilesUnder(const std::string& folder) {
  Files files;
  std::error_code error;
  if (!fs::is_directory(folder, error)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), folder).string()] = test::ReadFile(entry.path().string());
    }
  }
  return files;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

struct Outcome {
  bool ok = false;
  std::string message;  // the returned error text, or what the user was told
};

// One writer: the file it writes inside a folder and how it is run.
struct Writer {
  const char* name;
  const char* target;
  bool createsFolder;  // a missing folder is made rather than refused
  Outcome (*run)(const VexoriumDoc& doc, const std::string& folder);
};

const Writer kWriters[] = {
    {"settings", "config/data.dat", true,
     [](const VexoriumDoc& doc, const std::string& folder) {
       Outcome outcome;
       outcome.ok = SaveSettings(folder, "logs", doc.options, &outcome.message);
       return outcome;
     }},
    {"data file", "stats.dat", false,
     [](const VexoriumDoc& doc, const std::string& folder) {
       Outcome outcome;
       outcome.ok = SaveDataFile(doc, folder + "/stats.dat", &outcome.message);
       return outcome;
     }},
    {"CSV", "players.csv", false,
     [](const VexoriumDoc& doc, const std::string& folder) {
       Outcome outcome;
       outcome.ok = ExportCsv(doc, folder + "/players.csv", true, &outcome.message);
       return outcome;
     }},
    {"JSON", "stats.json", false,
     [](const VexoriumDoc& doc, const std::string& folder) {
       Outcome outcome;
       outcome.ok = ExportJson(doc, folder + "/stats.json", &outcome.message);
       return outcome;
     }},
    {"report", "games.htm", true,
     [](const VexoriumDoc& doc, const std::string& folder) {
       Outcome outcome;
       outcome.ok = WriteHtmlReport(doc, folder, &outcome.message);
       return outcome;
     }},
    {"variable file", "server.var", false,
     [](const VexoriumDoc& doc, const std::string& folder) {
       ServerVarWorkingCopy copy;
       copy.LoadFromDocument(doc);
       Outcome outcome;
       outcome.ok = copy.WriteFile(folder + "/server.var", &outcome.message);
       return outcome;
     }},
    {"cleaner", "server.log", false,
     [](const VexoriumDoc&, const std::string& folder) {
       ScriptedPrompter prompter;
       CleanResult result = CleanLogFile(folder + "/server.log", prompter);
       Outcome outcome;
       outcome.ok = result.status == CleanStatus::kCleaned;
       for (const RecordedMessage& message : prompter.Messages())
         outcome.message += message.text;
       return outcome;
     }},
};

bool IsReport(const Writer& writer) {
  return std::string(writer.name) == "report";
}

class FaultInjectionTest : public test::LoadFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    doc.serverVarCount = bench::BuildServerVariables(6, &doc.serverVars);
    ASSERT_TRUE(LoadText(Lines(
        {InitGame("0:00"), Connect("0:00", 1, "Alice"), Connect("0:00", 2, "Bob"),
         At("0:30", "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN"), At("2:00", "ShutdownGame:"),
         InitGame("2:10", "q3dm6"), Connect("2:10", 1, "Alice"), Connect("2:10", 2, "Bob"),
         At("2:40", "Kill: 2 1 7: Bob killed Alice by MOD_ROCKET_SPLASH"),
         At("4:10", "ShutdownGame:")})));
  }
  void TearDown() override { SetWriteFaultForTesting(WriteFault{}); }

  // A new folder holding what a writer finds there: earlier outputs and a log to clean.
  std::string Seeded(const std::string& name) {
    std::string path = folder.File(name);
    fs::create_directories(path + "/games");
    fs::create_directories(path + "/config");
    for (const char* old : {"config/data.dat", "stats.dat", "players.csv", "stats.json",
                            "games.htm", "games/game1.htm", "games/game2.htm", "server.var"}) {
      WriteBytes(path + "/" + old, std::string("old ") + old);
    }
    WriteBytes(path + "/server.log", "a\r\nb\x1A\nc\n");
    return path;
  }

  // The files the writer changes when nothing goes wrong, with their new bytes.
  Files Written(const Writer& writer) {
    std::string path = Seeded(std::string("reference-") + std::to_string(++m_references));
    Files before = FilesUnder(path);
    Outcome outcome = writer.run(doc, path);
    EXPECT_TRUE(outcome.ok) << writer.name << ": " << outcome.message;
    Files changed;
    for (const auto& [name, bytes] : FilesUnder(path)) {
      if (before.count(name) == 0 || before[name] != bytes) changed[name] = bytes;
    }
    return changed;
  }

  // Runs the writer into path (the fault already set up) and checks the refusal.
  void ExpectRefused(const Writer& writer, const std::string& path, const std::string& fault) {
    SCOPED_TRACE(std::string(writer.name) + ": " + fault);
    Files before = FilesUnder(path);
    Outcome outcome = writer.run(doc, path);
    SetWriteFaultForTesting(WriteFault{});
    CheckRefusal(writer, path, before, outcome);
  }

  // A failure, a message naming the file (for the report: a file of it), every file there as
  // it was and no temporary file. Report pages are written one by one: each is complete or as
  // it was.
  void CheckRefusal(const Writer& writer, const std::string& path, const Files& before,
                    const Outcome& outcome) {
    EXPECT_FALSE(outcome.ok);
    Files after = FilesUnder(path);
    if (!IsReport(writer)) {
      EXPECT_NE(outcome.message.find("\"" + path + "/" + writer.target + "\""), std::string::npos)
          << outcome.message;
      EXPECT_EQ(after, before);
      return;
    }
    // The message names the page that failed, or the games folder when that could not be made.
    Files written = Written(writer);
    written["games"] = "";
    bool named = false;
    for (const auto& [name, bytes] : written) {
      named = named || outcome.message.find("\"" + path + "/" + name + "\"") != std::string::npos;
    }
    EXPECT_TRUE(named) << outcome.message;
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [name, bytes] : after) {
      EXPECT_TRUE(bytes == before.at(name) || bytes == written[name]) << name;
    }
  }

  int m_references = 0;
};

TEST_F(FaultInjectionTest, MissingFolderIsRefusedOrMade) {
  for (const Writer& writer : kWriters) {
    SCOPED_TRACE(writer.name);
    std::string path = folder.File(std::string("missing-") + writer.name + "/below");
    if (writer.createsFolder) {
      EXPECT_TRUE(writer.run(doc, path).ok);
      EXPECT_TRUE(fs::exists(path + "/" + writer.target));
      continue;
    }
    ExpectRefused(writer, path, "missing folder");
    EXPECT_FALSE(fs::exists(path));
  }
}

// A regular file where the folder should be stops everyone, root included.
TEST_F(FaultInjectionTest, RegularFileInThePlaceOfTheFolder) {
  for (const Writer& writer : kWriters) {
    std::string blocker = folder.File(std::string("blocker-") + writer.name);
    WriteBytes(blocker, "not a folder");
    ExpectRefused(writer, blocker + "/inside", "path through a regular file");
    EXPECT_EQ(test::ReadFile(blocker), "not a folder");
  }
}

// Root writes into any folder whatever its mode, so the refusal is also simulated.
TEST_F(FaultInjectionTest, FolderWithoutWritePermission) {
  for (const Writer& writer : kWriters) {
    std::string path = Seeded(std::string("refused-") + writer.name);
    WriteFault refused;
    refused.refuseCreate = true;
    SetWriteFaultForTesting(refused);
    ExpectRefused(writer, path, "no file can be created");
    if (::geteuid() == 0) continue;
    std::string locked = Seeded(std::string("locked-") + writer.name);
    for (const char* sub : {"", "/games", "/config"})
      ::chmod((locked + sub).c_str(), 0555);
    ExpectRefused(writer, locked, "read-only folder");
    for (const char* sub : {"", "/games", "/config"})
      ::chmod((locked + sub).c_str(), 0755);
  }
}

// The disk fills up after 0 bytes, 1 byte, part of the output and all of it but the last byte.
TEST_F(FaultInjectionTest, FullDiskPartWay) {
  for (const Writer& writer : kWriters) {
    size_t total = 0;
    for (const auto& [name, bytes] : Written(writer))
      total += bytes.size();
    ASSERT_GT(total, 2u) << writer.name;
    for (size_t room : {size_t{0}, size_t{1}, total / 2, total - 1}) {
      std::string path = Seeded(std::string("full-") + writer.name + std::to_string(room));
      WriteFault fault;
      fault.room = room;
      SetWriteFaultForTesting(fault);
      ExpectRefused(writer, path, "full disk after " + std::to_string(room) + " bytes");
    }
  }
}

// The kernel refuses bytes past a file size limit (EFBIG): the failure then shows when the
// buffered bytes are flushed at the end, not in a write.
TEST_F(FaultInjectionTest, FileSizeLimitFailsTheFlush) {
  for (const Writer& writer : kWriters) {
    size_t largest = 0;
    for (const auto& [name, bytes] : Written(writer))
      largest = std::max(largest, bytes.size());
    std::string path = Seeded(std::string("limit-") + writer.name);
    rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = largest / 2;
    std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    Files before = FilesUnder(path);
    Outcome outcome = writer.run(doc, path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);
    SCOPED_TRACE(writer.name);
    CheckRefusal(writer, path, before, outcome);
  }
}

// One page failing part-way, or refused its name by a folder in the way, while the others and
// the index are written: the report fails and names that page.
TEST_F(FaultInjectionTest, OnePageFailingFailsTheReport) {
  const Writer& report = kWriters[4];
  ASSERT_TRUE(IsReport(report));
  Files written = Written(report);
  ASSERT_EQ(written.count("games/game2.htm"), 1u);
  std::string path = Seeded("one-page-full");
  WriteFault fault;
  fault.room = written["games/game2.htm"].size() / 2;
  fault.only = path + "/games/game2.htm";
  SetWriteFaultForTesting(fault);
  ExpectRefused(report, path, "full disk in the second game page");
  EXPECT_EQ(test::ReadFile(path + "/games/game2.htm"), "old games/game2.htm");
  EXPECT_EQ(test::ReadFile(path + "/games.htm"), written["games.htm"]);

  path = Seeded("one-page-blocked");
  fs::remove(path + "/games/game1.htm");
  fs::create_directories(path + "/games/game1.htm/inside");
  Files before = FilesUnder(path);
  Outcome outcome = report.run(doc, path);
  EXPECT_FALSE(outcome.ok);
  EXPECT_NE(outcome.message.find("\"" + path + "/games/game1.htm\""), std::string::npos)
      << outcome.message;
  Files after = FilesUnder(path);
  EXPECT_EQ(after.size(), before.size());  // no temporary file
  EXPECT_EQ(after["games.htm"], written["games.htm"]);
  EXPECT_EQ(after["games/game2.htm"], written["games/game2.htm"]);
}

}  // namespace
}  // namespace vexor
