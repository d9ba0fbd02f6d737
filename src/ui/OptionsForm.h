// The options dialog without a toolkit: its controls as a table (the dialog widget is built
// from it), the values its controls hold, and what opening it and pressing OK do. The dialog is
// a member of the program's main window for the whole run: Cancel copies nothing back, and the
// next Open shows the document's values again.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/TextNumbers.h"  // ParseDialogInteger
#include "stats/Weapons.h"
#include "ui/GraphBuilder.h"  // ChartStyle

namespace vexor {

class VexoriumDoc;

constexpr const char* kOptionsCaption = "Display Weapon Variables";
constexpr const char* kLogFolderBrowserTitle = "Pick the Log file folder:";
constexpr const char* kEnterIntegerMessage = "Please enter an integer.";
constexpr const char* kEnterIntegerCaption = "Vexor";
constexpr const char* kSettingsNotSavedCaption = "Warning";

constexpr int kOptionsFirstWeaponId = 1071;  // 1071 to 1079: the display flags in display order
// The boxes of the other games' weapons: this id plus the weapon's number past Quake III's nine.
constexpr int kOptionsFirstOtherWeaponId = 2000;
constexpr int kOptionsLogDirectoryId = 1031;
constexpr int kOptionsSetLogDirectoryId = 1080;
constexpr int kOptionsAutoSortId = 1081;
constexpr int kOptionsHideShortGamesId = 1105;
constexpr int kOptionsThresholdId = 1104;
constexpr int kOptionsSumGamesId = 1107;
constexpr int kOptionsGroupSizeId = 1106;
constexpr int kOptionsGroupStartId = 1108;
constexpr int kOptionsClassicChartsId = 1110;  // the graphs' style: beside the settings file
constexpr int kOptionsModernChartsId = 1111;
constexpr int kOptionsOkId = 1;
constexpr int kOptionsCancelId = 2;

// Radio buttons of one group box exclude each other.
enum class OptionsControlKind { kCheckBox, kRadioButton, kEdit, kReadOnlyEdit, kPushButton };

// One control. caption is the control's text (a check box's or button's), or for an edit box the
// label in front of it ("" when none); trailing is a label after it ("" when none). groupBox is
// the frame around it ("" for OK and Cancel).
struct OptionsControl {
  int id;
  OptionsControlKind kind;
  const char* caption;
  const char* trailing;
  const char* groupBox;
};

constexpr int kOptionsControlCount = 21;
// In tab order, group by group, then OK and Cancel.
extern const std::array<OptionsControl, kOptionsControlCount> kOptionsControls;

// The controls of the dialog for a load: kOptionsControls, with a box for each weapon of the
// load's other games (OtherWeaponsInLoad) after Quake III's, in a group per game ("Urban Terror
// Weapon Display Options"). A load of Quake III games has exactly kOptionsControls.
std::vector<OptionsControl> OptionsControlsFor(const VexoriumDoc& doc);

// What the controls hold. The three number boxes hold text as typed.
struct OptionsValues {
  std::array<bool, kWeaponCount> weaponDisplay{};            // display order
  std::array<bool, kOtherWeaponCount> otherWeaponDisplay{};  // by weapon number - kWeaponCount
  std::string logDirectory;
  bool autoSort = false;
  bool hideShortGames = false;
  std::string shortGameThreshold;
  bool sumGames = false;
  std::string groupSize;
  std::string groupStart;
  ChartStyle chartStyle = ChartStyle::kClassic;
};

struct OptionsAccept {
  bool ok = false;
  // Refused: kEnterIntegerMessage under kEnterIntegerCaption, and focusControl is the box to
  // correct. Accepted: empty, or the reason the settings file could not be written (the
  // options are in effect for this run all the same) under kSettingsNotSavedCaption.
  std::string message;
  std::string caption;
  int focusControl = 0;
};

class OptionsForm {
 public:
  // Copies the document's weapon display flags, log directory, auto-sort, short-game filter
  // and game summing, and the chart style in effect, into the values.
  void Open(const VexoriumDoc& doc);

  // The style the graphs are drawn in. The settings file has no room for it (its layout is
  // shared with other programs' files): the desktop program keeps it in its own settings store
  // and sets it here at start; an accepted OK puts the dialog's choice in effect.
  ChartStyle ChartStyleInEffect() const { return m_chartStyle; }
  void SetChartStyleInEffect(ChartStyle style) { m_chartStyle = style; }

  OptionsValues& Values() { return m_values; }
  const OptionsValues& Values() const { return m_values; }

  // The values by control id, for a dialog built from kOptionsControls. Checked is false and
  // Text "" for an id of another kind; the setters ignore such ids (and the read-only box:
  // its text changes through SetLogDirectory only).
  bool Checked(int controlId) const;
  void SetChecked(int controlId, bool checked);
  std::string Text(int controlId) const;
  void SetText(int controlId, const std::string& text);

  // The folder chosen in the folder browser ("Set Log Directory"). The browser starts at the
  // current value; when it is cancelled, call nothing.
  void SetLogDirectory(std::string folder) { m_values.logDirectory = std::move(folder); }

  // OK. Reads the threshold, group size and group start (in that order) as whole numbers; the
  // first that is not one refuses the whole step and nothing changes. Otherwise copies every
  // value into the document (switches as 1 or 0), sets its refresh flag, puts the chart style in
  // effect and writes the settings file under startDirectory.
  OptionsAccept Accept(VexoriumDoc& doc, const std::string& startDirectory);

 private:
  OptionsValues m_values;
  ChartStyle m_chartStyle = ChartStyle::kClassic;
};

}  // namespace vexor
