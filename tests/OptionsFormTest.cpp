// The options dialog: whole-number boxes, a refused OK that changes nothing, an accepted OK that
// reaches the document and the settings file, and a settings file that cannot be written.
#include "ui/OptionsForm.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "stats/Settings.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

TEST(OptionsFormTest, NumberBoxesTakeWholeNumbersOnly) {
  const std::pair<const char*, int32_t> accepted[] = {
      {"25", 25}, {" \t-7 ", -7}, {"+3", 3}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}};
  for (auto [text, expected] : accepted) {
    int32_t value = 0;
    EXPECT_TRUE(ParseDialogInteger(text, &value)) << '"' << text << '"';
    EXPECT_EQ(value, expected);
  }
  for (const char* text : {"2147483648", "-2147483649", "", "  ", "-", "12a", "1 2", "1.5", "0x10",
                           "99999999999999999999"}) {
    int32_t value = 12345;
    EXPECT_FALSE(ParseDialogInteger(text, &value)) << '"' << text << '"';
    EXPECT_EQ(value, 12345);
  }
}

class OptionsFormFixture : public ::testing::Test {
 protected:
  OptionsFormFixture() {
    doc.logDirectory = "/logs/before";
    form.Open(doc);
  }
  std::string SettingsBytes() const { return test::ReadFile(SettingsPath(folder.Path())); }

  test::TempFolder folder;
  VexoriumDoc doc;
  OptionsForm form;
};

TEST_F(OptionsFormFixture, RefusedOkChangesNothingAndTheNextOpenShowsTheDocument) {
  ASSERT_TRUE(form.Accept(doc, folder.Path()).ok);  // a settings file to keep
  std::string before = SettingsBytes();
  Options optionsBefore = doc.options;
  doc.refresh = false;

  form.SetChecked(1071, false);
  form.SetLogDirectory("/logs/after");
  form.SetText(kOptionsThresholdId, "40");
  form.SetText(kOptionsGroupStartId, "ten");
  OptionsAccept result = form.Accept(doc, folder.Path());
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, "Please enter an integer.");
  EXPECT_EQ(result.focusControl, kOptionsGroupStartId);
  EXPECT_EQ(doc.options, optionsBefore);
  EXPECT_EQ(doc.logDirectory, "/logs/before");
  EXPECT_FALSE(doc.refresh);
  EXPECT_EQ(SettingsBytes(), before);
  // The dialog keeps what was typed until it is opened again.
  EXPECT_EQ(form.Text(kOptionsThresholdId), "40");

  form.Open(doc);
  EXPECT_TRUE(form.Checked(1071));
  EXPECT_EQ(form.Text(kOptionsLogDirectoryId), "/logs/before");
  EXPECT_EQ(form.Text(kOptionsThresholdId), "25");
  EXPECT_EQ(form.Text(kOptionsGroupStartId), "1");
}

TEST_F(OptionsFormFixture, OkWritesTheDocumentAndTheSettingsFile) {
  form.SetChecked(1071, false);  // machinegun
  form.SetChecked(1079, false);  // gauntlet
  form.SetChecked(kOptionsAutoSortId, false);
  form.SetChecked(kOptionsHideShortGamesId, false);
  form.SetChecked(kOptionsSumGamesId, true);
  form.SetText(kOptionsThresholdId, " 90 ");
  form.SetText(kOptionsGroupSizeId, "5");
  form.SetText(kOptionsGroupStartId, "-2");
  form.SetText(kOptionsLogDirectoryId, "/ignored");  // read-only: only the browser sets it
  form.SetLogDirectory("/logs/q3");
  OptionsAccept result = form.Accept(doc, folder.Path());
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.message, "");

  Options expected;
  expected.weaponDisplay = {0, 1, 1, 1, 1, 1, 1, 1, 0};
  expected.autoSort = 0;
  expected.hideShortGames = 0;
  expected.shortGameThreshold = 90;
  expected.sumGames = 1;
  expected.groupSize = 5;
  expected.groupStart = -2;
  EXPECT_EQ(doc.options, expected);
  EXPECT_EQ(doc.logDirectory, "/logs/q3");
  EXPECT_TRUE(doc.refresh);

  VexoriumDoc reread;
  LoadSettings(reread, folder.Path());
  EXPECT_EQ(reread.options, expected);
  EXPECT_EQ(reread.logDirectory, "/logs/q3");
}

// The graph style: two exclusive buttons, in effect after OK only, and not in the settings file
// (whose layout has no room for it).
TEST_F(OptionsFormFixture, GraphStyleTakesEffectOnOkAndStaysOutOfTheSettingsFile) {
  EXPECT_TRUE(form.Checked(kOptionsClassicChartsId));
  EXPECT_FALSE(form.Checked(kOptionsModernChartsId));
  ASSERT_TRUE(form.Accept(doc, folder.Path()).ok);
  std::string classic = SettingsBytes();

  // A dialog reads every button, the unchecked one too.
  form.SetChecked(kOptionsClassicChartsId, false);
  form.SetChecked(kOptionsModernChartsId, true);
  EXPECT_TRUE(form.Checked(kOptionsModernChartsId));
  EXPECT_FALSE(form.Checked(kOptionsClassicChartsId));
  EXPECT_EQ(form.ChartStyleInEffect(), ChartStyle::kClassic);  // not before OK
  form.Open(doc);                                              // Cancel, then open again
  EXPECT_TRUE(form.Checked(kOptionsClassicChartsId));

  form.SetChecked(kOptionsModernChartsId, true);
  form.SetChecked(kOptionsClassicChartsId, false);
  form.SetText(kOptionsThresholdId, "x");
  EXPECT_FALSE(form.Accept(doc, folder.Path()).ok);
  EXPECT_EQ(form.ChartStyleInEffect(), ChartStyle::kClassic);  // a refused OK changes nothing
  form.SetText(kOptionsThresholdId, "25");
  ASSERT_TRUE(form.Accept(doc, folder.Path()).ok);
  EXPECT_EQ(form.ChartStyleInEffect(), ChartStyle::kModern);
  EXPECT_EQ(SettingsBytes(), classic);
  form.Open(doc);
  EXPECT_TRUE(form.Checked(kOptionsModernChartsId));
}

TEST_F(OptionsFormFixture, UnwritableSettingsKeepTheNewOptionsAndSayWhy) {
  std::string blocker = folder.Write("not-a-folder", "x");  // config/ cannot be made under a file
  form.SetText(kOptionsGroupSizeId, "3");
  OptionsAccept result = form.Accept(doc, blocker);
  EXPECT_TRUE(result.ok);
  EXPECT_NE(result.message.find("data.dat"), std::string::npos) << result.message;
  EXPECT_EQ(result.caption, "Warning");
  EXPECT_EQ(doc.options.groupSize, 3);
  EXPECT_TRUE(doc.refresh);
}

}  // namespace
}  // namespace vexor
