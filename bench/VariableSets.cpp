#include "VariableSets.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "GameEvents.h"
#include "MeansOfDeath.h"
#include "base/Archive.h"
#include "base/AtomicFile.h"
#include "customvars/SearchString.h"
#include "customvars/VariableFile.h"

namespace vexor::bench {
namespace {

// Variables 1 to 3 of the client set collect what other definitions add to them.
constexpr int32_t kFragsTotal = 1;
constexpr int32_t kDeathsTotal = 2;
constexpr int32_t kSuicidesTotal = 3;

// A slot as the dialog stores it: a set flag, a target and a non-zero value.
void SetSlot(int32_t ChangeSlots::*change, int32_t ChangeSlots::*target,
             int32_t ChangeSlots::*value, int32_t to, int32_t amount, ChangeSlots* slots) {
  slots->*change = 1;
  slots->*target = to;
  slots->*value = amount;
}

struct ClientDefinition {
  std::string name;
  std::string searchString;
  int32_t p1 = 0;       // amount added to player 1's own counter (0: slot unused)
  int32_t p2 = 0;       // amount added to player 2's own counter
  int32_t p1Total = 0;  // variable to which player 1's second slot adds 1 (0: unused)
  int32_t p2Total = 0;  // variable to which player 2's second slot adds 1
};

// A short column name from a message or a means of death: at most 15 characters.
std::string ShortName(std::string_view text) {
  if (text.starts_with("MOD_")) text.remove_prefix(4);
  if (text.starts_with("was ")) text.remove_prefix(4);
  if (text.ends_with(" by")) text.remove_suffix(3);
  return std::string(text.substr(0, 15));
}

// The sets are made for Quake 3 logs: means of death of other flavours are left out.

// Obituaries whose killer's name ends the line name both players ("PLAYER1 was railed by
// PLAYER2"): one definition counts the victim, one the killer's frags and one a score (killer
// +2, victim -1). Those with a text after the killer ("'s rocket") name the victim only, as
// the matcher expects a blank before that text. "ate" is left out: as a search text it is
// found inside names too.
void AddObituaries(std::vector<ClientDefinition>* out, bool killers) {
  std::vector<std::string_view> seen;
  for (const MeansOfDeath& mod : MeansOfDeathOf(KillKind::kFrag, Flavour::kQuake3)) {
    if (!mod.LoggedIn(Flavour::kQuake3)) continue;
    std::string_view verb = mod.text[0];
    std::string_view suffix = mod.suffix;
    if (verb == "ate" || std::find(seen.begin(), seen.end(), verb) != seen.end()) continue;
    seen.push_back(verb);
    std::string search = "PLAYER1 " + std::string(verb) + " PLAYER2";
    std::string name = ShortName(verb);
    if (!killers) {
      if (verb == "was killed by") continue;  // the "Deaths" definition
      if (!suffix.empty()) search += " " + std::string(suffix);
      out->push_back({name, search, 1, 0, kDeathsTotal, suffix.empty() ? kFragsTotal : 0});
    } else if (suffix.empty()) {
      out->push_back({ShortName(name + "/K"), search, 0, 1, 0, 0});
      out->push_back({ShortName(name + "/S"), search, -1, 2, 0, 0});
    }
  }
}

// Suicide and world messages, each text once, counting towards the suicides.
void AddSuicides(std::vector<ClientDefinition>* out) {
  std::vector<std::string_view> seen;
  for (KillKind kind : {KillKind::kWorld, KillKind::kSelf}) {
    for (const MeansOfDeath& mod : MeansOfDeathOf(kind, Flavour::kQuake3)) {
      if (!mod.LoggedIn(Flavour::kQuake3)) continue;
      for (const char* text : mod.text) {
        if (text == nullptr || std::string_view(text) == "suicides") continue;
        if (std::find(seen.begin(), seen.end(), text) != seen.end()) continue;
        seen.push_back(text);
        out->push_back(
            {ShortName(text), "PLAYER1 " + std::string(text) + ".", 1, 0, kSuicidesTotal, 0});
      }
    }
  }
}

// Totals first (variables 1 to 3), then entries and the like, then one definition per
// message; a set of n definitions takes the first n. "PLAYER1 connected" is not among them: its
// text ends "disconnected" lines too, which would name players "Bob dis".
std::vector<ClientDefinition> ClientDefinitions() {
  std::vector<ClientDefinition> all = {
      {"Frags", "PLAYER1 hit the fraglimit.", 1, 0, 0, 0},
      {"Deaths", "PLAYER1 was killed by PLAYER2", 1, 0, 0, kFragsTotal},
      {"Suicides", "PLAYER1 suicides.", 1, 0, 0, 0},
      {"Entered", "PLAYER1 entered the game", 1, 0, 0, 0},
      {"Left", "PLAYER1 disconnected", 1, 0, 0, 0},
      {"Renamed", "PLAYER1 renamed to PLAYER2", 1, 0, 0, 0},
  };
  AddObituaries(&all, false);
  AddSuicides(&all);
  AddObituaries(&all, true);
  return all;
}

// The second workload's client definitions: the nine texts in turn, each definition counting
// for itself (+1 to player 1; a two-player text -1 to player 2).
std::vector<ClientDefinition> CrowdedClientDefinitions(VariableStyle style) {
  static constexpr std::array<const char*, 9> kTexts = {"PLAYER1 was railed by PLAYER2",
                                                        "PLAYER1 was machinegunned by PLAYER2",
                                                        "PLAYER1 was gunned down by PLAYER2",
                                                        "PLAYER1 was electrocuted by PLAYER2",
                                                        "PLAYER1 was pummeled by PLAYER2",
                                                        "PLAYER1 cratered.",
                                                        "PLAYER1 melted.",
                                                        "PLAYER1 sank like a rock.",
                                                        "PLAYER1 blew itself up."};
  std::vector<ClientDefinition> all;
  for (int32_t k = 1; k <= kMostVariables; ++k) {
    std::string name = "V" + std::to_string(k);
    if (style == VariableStyle::kCrowdedServerLog) {
      all.push_back({name, "PLAYER1 picked up item" + std::to_string(k), 1, 0, 0, 0});
      continue;
    }
    std::string text = kTexts[static_cast<size_t>(k - 1) % kTexts.size()];
    bool twoPlayers = text.ends_with("PLAYER2");
    all.push_back({name, text, 1, twoPlayers ? -1 : 0, 0, 0});
  }
  return all;
}

}  // namespace

int32_t BuildClientVariables(int32_t count, ClientVariableSet* set, VariableStyle style) {
  std::vector<ClientDefinition> all =
      style == VariableStyle::kSpread ? ClientDefinitions() : CrowdedClientDefinitions(style);
  count = std::clamp(count, 0, std::min(kMostVariables, static_cast<int32_t>(all.size())));
  for (int32_t k = 1; k <= count; ++k) {
    const ClientDefinition& d = all[static_cast<size_t>(k - 1)];
    ClientVariable& v = (*set)[static_cast<size_t>(k)];
    v = ClientVariable{};
    v.name = d.name;
    v.searchString = d.searchString;
    v.stringType = ClassifySearchString(v.searchString, SearchStringRule::kDefinition);
    v.ordinal = k;
    if (d.p1 != 0)
      SetSlot(&ChangeSlots::p1Change, &ChangeSlots::p1Target, &ChangeSlots::p1Value, k, d.p1, &v);
    if (d.p2 != 0)
      SetSlot(&ChangeSlots::p2Change, &ChangeSlots::p2Target, &ChangeSlots::p2Value, k, d.p2, &v);
    if (d.p1Total != 0) {
      SetSlot(&ChangeSlots::p1Change2, &ChangeSlots::p1Target2, &ChangeSlots::p1Value2, d.p1Total,
              1, &v);
    }
    if (d.p2Total != 0) {
      SetSlot(&ChangeSlots::p2Change2, &ChangeSlots::p2Target2, &ChangeSlots::p2Value2, d.p2Total,
              1, &v);
    }
  }
  return count;
}

namespace {

// One definition per means of death and per item.
std::vector<ServerVariable> SpreadServerVariables() {
  std::vector<ServerVariable> all;
  // Frags by each means of death: killer player 1, victim player 2. World kills: the victim
  // is player 2 (the world's number 1022 is nobody's).
  for (KillKind kind : {KillKind::kFrag, KillKind::kWorld}) {
    for (const MeansOfDeath& mod : MeansOfDeathOf(kind, Flavour::kQuake3)) {
      if (!mod.LoggedIn(Flavour::kQuake3)) continue;
      ServerVariable v;
      v.name = ShortName(mod.name);
      v.idstring = "Kill:";
      v.modstring = mod.name;
      v.id1 = -1;
      v.id2 = -1;
      v.id3 = mod.number;
      if (kind == KillKind::kFrag) {
        SetSlot(&ChangeSlots::p1Change, &ChangeSlots::p1Target, &ChangeSlots::p1Value, 0, 1, &v);
      } else {
        SetSlot(&ChangeSlots::p2Change, &ChangeSlots::p2Target, &ChangeSlots::p2Value, 0, 1, &v);
      }
      all.push_back(v);
    }
  }
  // Item pick-ups: the client number is the only id.
  for (const char* item : ItemNames(Flavour::kQuake3, true)) {
    ServerVariable v;
    v.name = ShortName(item);
    v.idstring = "Item:";
    v.modstring = item;
    v.id1 = -1;
    SetSlot(&ChangeSlots::p1Change, &ChangeSlots::p1Target, &ChangeSlots::p1Value, 0, 1, &v);
    all.push_back(v);
  }
  return all;
}

// The second workload's server definitions: the frag means in turn, killer +1, victim -1.
std::vector<ServerVariable> CrowdedServerVariables() {
  std::vector<ServerVariable> all;
  std::vector<const MeansOfDeath*> means;
  for (const MeansOfDeath& mod : MeansOfDeathOf(KillKind::kFrag, Flavour::kQuake3)) {
    if (mod.LoggedIn(Flavour::kQuake3)) means.push_back(&mod);
  }
  for (int32_t k = 1; k <= kMostVariables; ++k) {
    const MeansOfDeath& mod = *means[static_cast<size_t>(k - 1) % means.size()];
    ServerVariable v;
    v.name = "S" + std::to_string(k);
    v.idstring = "Kill:";
    v.modstring = mod.name;
    v.id1 = -1;
    v.id2 = -1;
    v.id3 = mod.number;
    SetSlot(&ChangeSlots::p1Change, &ChangeSlots::p1Target, &ChangeSlots::p1Value, 0, 1, &v);
    SetSlot(&ChangeSlots::p2Change, &ChangeSlots::p2Target, &ChangeSlots::p2Value, 0, -1, &v);
    all.push_back(v);
  }
  return all;
}

}  // namespace

int32_t BuildServerVariables(int32_t count, ServerVariableSet* set, VariableStyle style) {
  std::vector<ServerVariable> all =
      style == VariableStyle::kSpread ? SpreadServerVariables() : CrowdedServerVariables();
  count = std::clamp(count, 0, std::min(kMostVariables, static_cast<int32_t>(all.size())));
  for (int32_t k = 1; k <= count; ++k) {
    ServerVariable& v = (*set)[static_cast<size_t>(k)];
    v = all[static_cast<size_t>(k - 1)];
    v.ordinal = k;
    // "This Variable": a target of 0 above stands for the definition's own number.
    for (const SlotFields& slot : kSlotsInRecordOrder) {
      if (v.*slot.change != 0 && v.*slot.target == 0) v.*slot.target = k;
    }
  }
  return count;
}

namespace {

template <typename Set, typename Build>
bool WriteFile(const std::string& path, int32_t count, VariableStyle style, Build build,
               std::string* error) {
  Set set{};
  count = build(count, &set, style);
  AtomicFile file(false);
  if (!file.Open(path)) {
    *error = file.Error();
    return false;
  }
  {
    ArchiveWriter archive(file);
    WriteVariableSet(archive, count, set);
  }
  if (file.Commit()) return true;
  *error = file.Error();
  return false;
}

}  // namespace

bool WriteClientVariableFile(const std::string& path, int32_t count, std::string* error,
                             VariableStyle style) {
  return WriteFile<ClientVariableSet>(path, count, style, BuildClientVariables, error);
}

bool WriteServerVariableFile(const std::string& path, int32_t count, std::string* error,
                             VariableStyle style) {
  return WriteFile<ServerVariableSet>(path, count, style, BuildServerVariables, error);
}

}  // namespace vexor::bench
