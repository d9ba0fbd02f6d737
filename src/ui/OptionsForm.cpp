#include "ui/OptionsForm.h"

#include <limits>

#include "stats/GameFamily.h"
#include "stats/Settings.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

namespace {
constexpr const char* kWeaponGroup = "Weapon Display Options";
constexpr const char* kDirectoryGroup = "Directory Options";
constexpr const char* kSortingGroup = "Sorting Options";
constexpr const char* kShortGamesGroup = "Display Short Games";
constexpr const char* kSumGroup = "Sum Games";
constexpr const char* kChartGroup = "Graph Style";
using Kind = OptionsControlKind;
}  // namespace

const std::array<OptionsControl, kOptionsControlCount> kOptionsControls = {{
    {1071, Kind::kCheckBox, "Machine Gun Frags", "", kWeaponGroup},
    {1072, Kind::kCheckBox, "Shotgun Frags", "", kWeaponGroup},
    {1073, Kind::kCheckBox, "Rocket Launcher Frags", "", kWeaponGroup},
    {1074, Kind::kCheckBox, "Grenade Launcher Frags", "", kWeaponGroup},
    {1075, Kind::kCheckBox, "Lightning Gun Frags", "", kWeaponGroup},
    {1076, Kind::kCheckBox, "Plasma Gun Frags", "", kWeaponGroup},
    {1077, Kind::kCheckBox, "Rail Gun Frags", "", kWeaponGroup},
    {1078, Kind::kCheckBox, "BFG Frags", "", kWeaponGroup},
    {1079, Kind::kCheckBox, "Gauntlet Frags", "", kWeaponGroup},
    {kOptionsLogDirectoryId, Kind::kReadOnlyEdit, "", "", kDirectoryGroup},
    {kOptionsSetLogDirectoryId, Kind::kPushButton, "Set Log Directory", "", kDirectoryGroup},
    {kOptionsAutoSortId, Kind::kCheckBox, "Auto-Sort Player Lists", "", kSortingGroup},
    {kOptionsHideShortGamesId, Kind::kCheckBox, "Dont Display Games Shorter Than", "",
     kShortGamesGroup},
    {kOptionsThresholdId, Kind::kEdit, "", "Seconds", kShortGamesGroup},
    {kOptionsSumGamesId, Kind::kCheckBox, "Sum Games Into Groups of", "", kSumGroup},
    {kOptionsGroupSizeId, Kind::kEdit, "", "", kSumGroup},
    {kOptionsGroupStartId, Kind::kEdit, "Starting At Game", "", kSumGroup},
    {kOptionsClassicChartsId, Kind::kRadioButton, "Classic", "", kChartGroup},
    {kOptionsModernChartsId, Kind::kRadioButton, "Modern", "", kChartGroup},
    {kOptionsOkId, Kind::kPushButton, "OK", "", ""},
    {kOptionsCancelId, Kind::kPushButton, "Cancel", "", ""},
}};

std::vector<OptionsControl> OptionsControlsFor(const VexoriumDoc& doc) {
  // The groups of the other weapon sets, by WeaponSet.
  static constexpr std::array<const char*, kWeaponSetCount> kSetGroups = {
      kWeaponGroup, "Urban Terror Weapon Display Options", "Jedi Knight Weapon Display Options"};
  auto firstAfterWeapons = kOptionsControls.begin() + kWeaponCount;
  std::vector<OptionsControl> controls(kOptionsControls.begin(), firstAfterWeapons);
  for (WeaponId weapon : OtherWeaponsInLoad(doc)) {
    const WeaponInfo& info = WeaponInfoOf(weapon);
    controls.push_back({kOptionsFirstOtherWeaponId + weapon - kWeaponCount, Kind::kCheckBox,
                        info.name.data(), "", kSetGroups[static_cast<size_t>(info.set)]});
  }
  controls.insert(controls.end(), firstAfterWeapons, kOptionsControls.end());
  return controls;
}

void OptionsForm::Open(const VexoriumDoc& doc) {
  const Options& options = doc.options;
  for (size_t i = 0; i < kWeaponCount; ++i) {
    m_values.weaponDisplay[i] = options.weaponDisplay[i] != 0;
  }
  for (size_t i = 0; i < kOtherWeaponCount; ++i) {
    m_values.otherWeaponDisplay[i] = options.otherWeaponDisplay[i] != 0;
  }
  m_values.logDirectory = doc.logDirectory;
  m_values.autoSort = options.autoSort != 0;
  m_values.hideShortGames = options.hideShortGames != 0;
  m_values.shortGameThreshold = std::to_string(options.shortGameThreshold);
  m_values.sumGames = options.sumGames != 0;
  m_values.groupSize = std::to_string(options.groupSize);
  m_values.groupStart = std::to_string(options.groupStart);
  m_values.chartStyle = m_chartStyle;
}

namespace {

// The value behind a check box or a text box, or nullptr for another id. Values is
// OptionsValues or const OptionsValues.
template <typename Values>
auto CheckField(Values& values, int controlId) -> decltype(&values.autoSort) {
  int weapon = controlId - kOptionsFirstWeaponId;
  if (weapon >= 0 && weapon < kWeaponCount) {
    return &values.weaponDisplay[static_cast<size_t>(weapon)];
  }
  int other = controlId - kOptionsFirstOtherWeaponId;
  if (other >= 0 && other < kOtherWeaponCount) {
    return &values.otherWeaponDisplay[static_cast<size_t>(other)];
  }
  switch (controlId) {
    case kOptionsAutoSortId:
      return &values.autoSort;
    case kOptionsHideShortGamesId:
      return &values.hideShortGames;
    case kOptionsSumGamesId:
      return &values.sumGames;
    default:
      return nullptr;
  }
}

template <typename Values>
auto TextField(Values& values, int controlId) -> decltype(&values.logDirectory) {
  switch (controlId) {
    case kOptionsLogDirectoryId:
      return &values.logDirectory;
    case kOptionsThresholdId:
      return &values.shortGameThreshold;
    case kOptionsGroupSizeId:
      return &values.groupSize;
    case kOptionsGroupStartId:
      return &values.groupStart;
    default:
      return nullptr;
  }
}

// The style a chart-style button stands for, or false for another id.
bool ChartStyleOf(int controlId, ChartStyle* style) {
  if (controlId != kOptionsClassicChartsId && controlId != kOptionsModernChartsId) return false;
  *style = controlId == kOptionsModernChartsId ? ChartStyle::kModern : ChartStyle::kClassic;
  return true;
}

}  // namespace

bool OptionsForm::Checked(int controlId) const {
  ChartStyle style;
  if (ChartStyleOf(controlId, &style)) return m_values.chartStyle == style;
  const bool* field = CheckField(m_values, controlId);
  return field != nullptr && *field;
}

// A radio button is set by checking it; unchecking one leaves the choice to the one checked.
void OptionsForm::SetChecked(int controlId, bool checked) {
  ChartStyle style;
  if (ChartStyleOf(controlId, &style)) {
    if (checked) m_values.chartStyle = style;
    return;
  }
  if (bool* field = CheckField(m_values, controlId)) *field = checked;
}

std::string OptionsForm::Text(int controlId) const {
  const std::string* field = TextField(m_values, controlId);
  return field != nullptr ? *field : std::string();
}

void OptionsForm::SetText(int controlId, const std::string& text) {
  if (controlId == kOptionsLogDirectoryId) return;
  if (std::string* field = TextField(m_values, controlId)) *field = text;
}

OptionsAccept OptionsForm::Accept(VexoriumDoc& doc, const std::string& startDirectory) {
  struct NumberBox {
    int id;
    int32_t value;
  };
  std::array<NumberBox, 3> numbers = {
      {{kOptionsThresholdId, 0}, {kOptionsGroupSizeId, 0}, {kOptionsGroupStartId, 0}}};
  OptionsAccept result;
  for (NumberBox& box : numbers) {
    if (!ParseDialogInteger(Text(box.id), &box.value)) {
      result.message = kEnterIntegerMessage;
      result.caption = kEnterIntegerCaption;
      result.focusControl = box.id;
      return result;
    }
  }

  Options& options = doc.options;
  for (size_t i = 0; i < kWeaponCount; ++i) {
    options.weaponDisplay[i] = m_values.weaponDisplay[i];
  }
  for (size_t i = 0; i < kOtherWeaponCount; ++i) {
    options.otherWeaponDisplay[i] = m_values.otherWeaponDisplay[i];
  }
  doc.logDirectory = m_values.logDirectory;
  options.autoSort = m_values.autoSort;
  options.hideShortGames = m_values.hideShortGames;
  options.shortGameThreshold = numbers[0].value;
  options.sumGames = m_values.sumGames;
  options.groupSize = numbers[1].value;
  options.groupStart = numbers[2].value;
  doc.refresh = true;
  m_chartStyle = m_values.chartStyle;

  result.ok = true;
  std::string error;
  if (!SaveSettings(startDirectory, doc.logDirectory, options, &error)) {
    result.message = error;
    result.caption = kSettingsNotSavedCaption;
  }
  return result;
}

}  // namespace vexor
