#include "ui/ClientVarForm.h"

#include "customvars/SearchString.h"

namespace vexor {

const std::vector<VarControlInfo>& ClientVarForm::Controls() const {
  using Kind = VarControlKind;
  static const std::vector<VarControlInfo> kControls = [] {
    std::vector<VarControlInfo> controls = {
        {1043, VarControl::kTypeList, Kind::kTypeList, "",
         "Choose The Type Of String To Search For"},
        {65535, VarControl::kTypeLabel, Kind::kLabel, "Choose The Type Of String To Search For",
         ""},
        {1031, VarControl::kName, Kind::kTextEdit, "", "Name The Variable"},
        {1055, VarControl::kNameLabel, Kind::kLabel, "Name The Variable", ""},
        {1070, VarControl::kVisible, Kind::kCheckBox, "Visible in Statistics", ""},
        {1056, VarControl::kDetailsGroup, Kind::kGroupBox, "Custom Variable Details", ""},
        {1032, VarControl::kSearchString, Kind::kTextEdit, "", "Search String"},
        {1057, VarControl::kSearchLabel, Kind::kLabel, "Search String", ""},
    };
    AppendSlotRowsAndButtons({{{1049, 1068, 1051, 1050, 1063, 1062, 1058, 1059},
                               {1052, 1069, 1054, 1053, 1065, 1064, 1060, 1061}}},
                             {1042, 1041, 1044, 1040, 3, 4, 2, 1}, &controls);
    return controls;
  }();
  return kControls;
}

std::vector<std::string> ClientVarForm::TypeEntries() const {
  return {"PLAYER1 string",
          "string PLAYER1",
          "string PLAYER1 string",
          "PLAYER1 string PLAYER2",
          "PLAYER1 string PLAYER2 string",
          "string PLAYER1 string PLAYER2",
          "string PLAYER1 string PLAYER2 string"};
}

void ClientVarForm::SelectType(int32_t type) {
  m_fields.changes.p1Change = 0;
  m_fields.changes.p2Change = 0;
  m_fields.typeSelection =
      type >= kPlayer1String && type <= kStringPlayer1StringPlayer2String ? type : -1;
  ApplyEnableRule();
}

void ClientVarForm::ApplyEnableRule() {
  const int32_t type = m_fields.typeSelection;
  const bool typed = type >= kPlayer1String && type <= kStringPlayer1StringPlayer2String;
  for (VarControl control :
       {VarControl::kName, VarControl::kNameLabel, VarControl::kVisible, VarControl::kDetailsGroup,
        VarControl::kSearchString, VarControl::kSearchLabel}) {
    Enable(control, typed);
  }
  const bool twoPlayers = typed && type >= kPlayer1StringPlayer2;
  for (int slot = 0; slot < 4; ++slot)
    Enable(SlotFlag(slot), SlotRow(slot) == 0 ? typed : twoPlayers);
  if (typed) {
    EnableSlotsByFlags();
    return;
  }
  for (int slot = 0; slot < 4; ++slot) {
    Enable(SlotTarget(slot), false);
    Enable(SlotValue(slot), false);
  }
  for (int row = 0; row < 2; ++row) {
    Enable(TargetsLabel(row), false);
    Enable(ValuesLabel(row), false);
  }
}

}  // namespace vexor
