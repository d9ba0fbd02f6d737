#include "GameEvents.h"

#include <algorithm>
#include <iterator>

namespace vexor::bench {
namespace {

constexpr const char* kChat[] = {
    "gg",
    "gl hf",
    "lol",
    "nice shot",
    "brb",
    "rematch?",
    "lag!!",
    ":)",
    ";-)",
    "one more map",
    "camper",
    "who's the team leader",
    "Who wants to die today?",
    "Full on LUCK!",
    "Was that REALLY your best shot?",
    "I am off to grab the enemy flag!",
    "ouch",
    "noob",
    "Death fascinates me; I love to share it.",
    "Be afraid. Be very afraid.",
    "wtf",
    "ty",
};

constexpr const char* kItems[] = {
    "weapon_rocketlauncher",
    "ammo_rockets",
    "item_armor_body",
    "item_health_large",
    "item_armor_shard",
    "weapon_railgun",
    "ammo_slugs",
    "item_health",
    "weapon_shotgun",
    "ammo_shells",
    "weapon_plasmagun",
    "ammo_cells",
    "item_armor_combat",
    "weapon_lightning",
    "ammo_lightning",
    "weapon_grenadelauncher",
    "ammo_grenades",
    "item_quad",
    "item_haste",
    "item_health_mega",
    "weapon_bfg",
    "ammo_bfg",
    "holdable_teleporter",
    "holdable_medkit",
    "item_regen",
    "item_invis",
    "item_enviro",
    "item_flight",
    "item_health_small",
    "ammo_bullets",
    "team_CTF_redflag",
    "team_CTF_blueflag",
};

constexpr const char* kUrbanTerrorItems[] = {
    "ut_weapon_lr300",      "ut_weapon_ak103",         "ut_weapon_m4",      "ut_weapon_g36",
    "ut_weapon_sr8",        "ut_weapon_spas12",        "ut_weapon_ump45",   "ut_weapon_deagle",
    "ut_weapon_grenade_he", "ut_weapon_grenade_smoke", "ut_weapon_knife",   "ut_item_vest",
    "ut_item_helmet",       "ut_item_medkit",          "ut_item_silencer",  "ut_item_laser",
    "ut_item_extraammo",    "team_CTF_redflag",        "team_CTF_blueflag",
};

constexpr const char* kJediAcademyItems[] = {
    "item_medpak_instant",
    "item_shield_sm_instant",
    "item_shield_lrg_instant",
    "weapon_blaster",
    "weapon_disruptor",
    "weapon_bowcaster",
    "weapon_repeater",
    "weapon_demp2",
    "weapon_flechette",
    "weapon_rocket_launcher",
    "weapon_thermal",
    "ammo_powercell",
    "ammo_metallic_bolts",
    "ammo_rockets",
    "item_seeker",
    "item_sentry_gun",
    "item_force_enlighten_light",
    "team_CTF_redflag",
    "team_CTF_blueflag",
};

constexpr size_t kFlagItems = 2;  // the last entries of each list, only in team games

template <size_t N>
std::span<const char* const> WithFlags(const char* const (&items)[N], bool flags) {
  return std::span<const char* const>(items, N - (flags ? 0 : kFlagItems));
}

}  // namespace

std::span<const char* const> ChatTexts() {
  return kChat;
}

void AppendChat(LineBuffer& out, int32_t text) {
  if (text == GameEvents::kLongChat) {
    for (int i = 0; i < 400; ++i)
      out.Append("lol ");
  } else {
    out.Append(ChatTexts()[static_cast<size_t>(text)]);
  }
}

std::span<const char* const> ItemNames(Flavour flavour, bool flags) {
  switch (flavour) {
    case Flavour::kUrbanTerror:
      return WithFlags(kUrbanTerrorItems, flags);
    case Flavour::kJediAcademy:
      return WithFlags(kJediAcademyItems, flags);
    default:
      return WithFlags(kItems, flags);
  }
}

bool FlagsInPlay(const GamePlan& plan, Flavour flavour) {
  if (flavour == Flavour::kQuake3 || flavour == Flavour::kOpenArena) return plan.IsTeamGame();
  return plan.IsTeamGame() && plan.captureLimit > 0;
}

void GameEvents::Add(int32_t time, int32_t phase, EventType type, int32_t participant,
                     int32_t value) {
  GameEvent event;
  event.key = (static_cast<uint64_t>(static_cast<uint32_t>(time)) << 32) |
              (static_cast<uint64_t>(phase) << 28) | (m_sequence++ & 0x0FFFFFFFu);
  event.type = type;
  event.participant = static_cast<int16_t>(participant);
  event.value = value;
  m_events.push_back(event);
}

const std::vector<GameEvent>& GameEvents::Build(const GamePlan& plan) {
  m_events.clear();
  m_sequence = 0;
  for (size_t i = 0; i < plan.participants.size(); ++i) {
    const Participant& p = plan.participants[i];
    int32_t who = static_cast<int32_t>(i);
    for (int32_t s = 0; s < p.stintCount; ++s) {
      const Stint& stint = p.stints[static_cast<size_t>(s)];
      // In one second, departures come first: the client number they free may be handed
      // out again in the same second.
      Add(stint.join, 1, EventType::kConnect, who, s);
      if (stint.disconnects) Add(stint.leave, 0, EventType::kDisconnect, who, s);
    }
    // Renames come before the kills of their second, which already carry the new name.
    // A rename before "ClientBegin:" is written with the connect.
    if (p.renameAt >= 0 && !p.RenamedAtBegin()) Add(p.renameAt, 1, EventType::kRename, who, 0);
    if (p.teamChangeAt >= 0) Add(p.teamChangeAt, 1, EventType::kTeamChange, who, 0);
  }
  for (size_t k = 0; k < plan.kills.size(); ++k) {
    const PlannedKill& kill = plan.kills[k];
    Add(kill.time, 2, EventType::kKill, kill.Subject(), static_cast<int32_t>(k));
  }
  if (m_noise > 0) AddNoise(plan);
  std::sort(m_events.begin(), m_events.end(),
            [](const GameEvent& a, const GameEvent& b) { return a.key < b.key; });
  return m_events;
}

int32_t GameEvents::SomeoneConnected(const GamePlan& plan, int32_t time) {
  uint32_t n = static_cast<uint32_t>(plan.participants.size());
  for (int attempt = 0; attempt < 4; ++attempt) {
    uint32_t p = m_random.Below(n);
    if (plan.participants[p].StintAt(time) >= 0) return static_cast<int32_t>(p);
  }
  return -1;
}

void GameEvents::AddNoise(const GamePlan& plan) {
  if (plan.duration < 2) return;
  int32_t scale = m_noise > 1 ? 3 : 2;
  int32_t items = m_items ? static_cast<int32_t>(plan.kills.size()) * scale + plan.duration / 8 : 0;
  uint32_t itemCount =
      static_cast<uint32_t>(ItemNames(m_flavour, FlagsInPlay(plan, m_flavour)).size());
  for (int32_t i = 0; i < items; ++i) {
    int32_t time = m_random.Between(1, plan.duration - 1);
    int32_t who = SomeoneConnected(plan, time);
    if (who >= 0)
      Add(time, 2, EventType::kItem, who, static_cast<int32_t>(m_random.Below(itemCount)));
  }
  int32_t chats = plan.duration / (m_noise > 1 ? 30 : 90) + 1;
  uint32_t chatCount = static_cast<uint32_t>(ChatTexts().size());
  for (int32_t i = 0; i < chats; ++i) {
    int32_t time = m_random.Between(1, plan.duration - 1);
    int32_t who = SomeoneConnected(plan, time);
    if (who < 0) continue;
    // Heavy noise: now and then a chat line too long to be read as one line.
    bool longLine = m_noise > 1 && m_random.Chance(0.1);
    Add(time, 2, EventType::kSay, who,
        longLine ? kLongChat : static_cast<int32_t>(m_random.Below(chatCount)));
  }
}

}  // namespace vexor::bench
