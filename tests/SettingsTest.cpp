// The settings file: its exact bytes, the switch rule, a missing or short file, and saving.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "base/Archive.h"
#include "stats/Settings.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

std::string Encode(const std::string& logDirectory, const Options& options) {
  StringSink sink;
  ArchiveWriter writer(sink);
  WriteSettings(writer, logDirectory, options);
  return sink.Bytes();
}

std::string Int(int32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i)
    bytes[static_cast<size_t>(i)] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
  return bytes;
}

TEST(SettingsTest, DefaultsAreExactly61Bytes) {
  std::string expected(1, '\0');
  for (int i = 0; i < 9; ++i)
    expected += Int(1);
  expected += Int(1) + Int(25) + Int(1) + Int(1) + Int(0) + Int(1);
  std::string bytes = Encode("", Options{});
  EXPECT_EQ(bytes.size(), 61u);
  EXPECT_EQ(bytes, expected);
}

TEST(SettingsTest, SwitchesAreWrittenAsOneOrZeroAndReadAsOnExactlyAtOne) {
  Options options;
  options.sumGames = 7;
  options.hideShortGames = 0;
  options.groupSize = -3;
  std::string bytes = Encode("/logs", options);
  EXPECT_EQ(bytes.substr(bytes.size() - 8), Int(1) + Int(0));

  std::string stored = Encode("/logs", Options{});
  stored.replace(stored.size() - 8, 4, Int(2));  // sum games stored as 2
  MemorySource source(stored);
  ArchiveReader reader(source);
  VexoriumDoc doc;
  doc.options.sumGames = 1;
  doc.ReadSettings(reader);
  EXPECT_EQ(doc.options.sumGames, 0);
  EXPECT_EQ(doc.logDirectory, "/logs");
}

TEST(SettingsTest, LongLogDirectoryUsesTheThreeBytePrefix) {
  std::string bytes = Encode(std::string(300, 'd'), Options{});
  EXPECT_EQ(bytes.substr(0, 3), "\xFF\x2C\x01");
  EXPECT_EQ(bytes.size(), 3u + 300u + 60u);
}

TEST(SettingsTest, ShortFileKeepsWhatWasRead) {
  Options written;
  written.weaponDisplay[0] = 0;
  written.weaponDisplay[1] = 0;
  written.autoSort = 0;
  std::string bytes = Encode("dir", written).substr(0, 4 + 4 * 9 + 2);  // into auto-sort
  MemorySource source(bytes);
  ArchiveReader reader(source);
  VexoriumDoc doc;
  doc.options.shortGameThreshold = 99;
  doc.ReadSettings(reader);
  EXPECT_EQ(doc.logDirectory, "dir");
  EXPECT_EQ(doc.options.weaponDisplay[0], 0);
  EXPECT_EQ(doc.options.autoSort, 1);  // its 4 bytes were not all there
  EXPECT_EQ(doc.options.shortGameThreshold, 99);
}

TEST(SettingsTest, SaveCreatesTheConfigFolderAndLoadReadsItBack) {
  test::TempFolder start;
  Options options;
  options.shortGameThreshold = 40;
  options.weaponDisplay[8] = 0;
  options.sumGames = 1;
  options.groupSize = 3;
  std::string error;
  ASSERT_TRUE(SaveSettings(start.Path(), "/srv/q3", options, &error)) << error;
  EXPECT_EQ(test::ReadFile(SettingsPath(start.Path())), Encode("/srv/q3", options));

  VexoriumDoc doc;
  LoadSettings(doc, start.Path());
  EXPECT_EQ(doc.options, options);
  EXPECT_EQ(doc.logDirectory, "/srv/q3");
}

TEST(SettingsTest, MissingFileRestoresFilterAndSummingButKeepsWeaponColumns) {
  test::TempFolder start;
  VexoriumDoc doc;
  doc.logDirectory = "old";
  doc.options.weaponDisplay[2] = 0;
  doc.options.autoSort = 0;
  doc.options.shortGameThreshold = 5;
  doc.options.hideShortGames = 0;
  doc.options.sumGames = 1;
  doc.options.groupSize = 4;
  doc.options.groupStart = 3;
  LoadSettings(doc, start.Path());
  EXPECT_EQ(doc.logDirectory, "");
  EXPECT_EQ(doc.options.weaponDisplay[2], 0);
  EXPECT_EQ(doc.options.autoSort, 0);
  EXPECT_EQ(doc.options.shortGameThreshold, 25);
  EXPECT_EQ(doc.options.hideShortGames, 1);
  EXPECT_EQ(doc.options.sumGames, 0);
  EXPECT_EQ(doc.options.groupSize, 1);
  EXPECT_EQ(doc.options.groupStart, 1);
}

TEST(SettingsTest, UnwritableFileIsReportedAndThePreviousOneKept) {
  test::TempFolder start;
  // "config" is a file, so the folder cannot be made.
  start.Write("config", "not a folder");
  std::string error;
  EXPECT_FALSE(SaveSettings(start.Path(), "", Options{}, &error));
  EXPECT_NE(error.find("config"), std::string::npos);
  EXPECT_EQ(test::ReadFile(start.File("config")), "not a folder");
}

}  // namespace
}  // namespace vexor
