#include "ui/ServerVarForm.h"

namespace vexor {

const std::vector<VarControlInfo>& ServerVarForm::Controls() const {
  using Kind = VarControlKind;
  static const std::vector<VarControlInfo> kControls = [] {
    std::vector<VarControlInfo> controls = {
        {1035, VarControl::kName, Kind::kTextEdit, "", "Name The Variable"},
        {1055, VarControl::kNameLabel, Kind::kLabel, "Name The Variable", ""},
        {1082, VarControl::kVisible, Kind::kCheckBox, "Visible in Statistics", ""},
        {1057, VarControl::kSyntaxLabel, Kind::kLabel, "Syntax", ""},
        {1036, VarControl::kIdstring, Kind::kTextEdit, "", "idstring"},
        {1031, VarControl::kId1, Kind::kNumberEdit, "", "id1"},
        {1032, VarControl::kId2, Kind::kNumberEdit, "", "id2"},
        {1033, VarControl::kId3, Kind::kNumberEdit, "", "id3"},
        {1034, VarControl::kModstring, Kind::kTextEdit, "", "modstring"},
    };
    AppendSlotRowsAndButtons({{{1083, 1084, 1085, 1087, 1086, 1089, 1102, 1088},
                               {1090, 1091, 1092, 1095, 1094, 1097, 1093, 1096}}},
                             {1098, 1100, 1099, 1101, 5, 6, 4, 3}, &controls);
    return controls;
  }();
  return kControls;
}

void ServerVarForm::ApplyEnableRule() {
  for (VarControl control : {VarControl::kName, VarControl::kNameLabel, VarControl::kVisible,
                             VarControl::kSyntaxLabel, VarControl::kIdstring, VarControl::kId1,
                             VarControl::kId2, VarControl::kId3, VarControl::kModstring}) {
    Enable(control, true);
  }
  for (int slot = 0; slot < 4; ++slot)
    Enable(SlotFlag(slot), true);
  EnableSlotsByFlags();
}

}  // namespace vexor
