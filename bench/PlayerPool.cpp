#include "PlayerPool.h"

#include <array>
#include <cctype>
#include <unordered_set>

namespace vexor::bench {
namespace {

struct Bot {
  const char* name;
  const char* model;
  Gender gender;
};

constexpr Bot kBots[] = {
    {"Anarki", "anarki", Gender::kMale},
    {"Angel", "angel", Gender::kFemale},
    {"Biker", "biker", Gender::kMale},
    {"Bitterman", "bitterman", Gender::kMale},
    {"Bones", "bones", Gender::kMale},
    {"Cadavre", "cadavre", Gender::kMale},
    {"Crash", "crash", Gender::kFemale},
    {"Daemia", "major/daemia", Gender::kFemale},
    {"Doom", "doom", Gender::kMale},
    {"Gorre", "razor/gorre", Gender::kMale},
    {"Grunt", "grunt", Gender::kMale},
    {"Hossman", "biker/hossman", Gender::kMale},
    {"Hunter", "hunter", Gender::kFemale},
    {"Keel", "keel", Gender::kMale},
    {"Klesk", "klesk", Gender::kMale},
    {"Lucy", "lucy", Gender::kFemale},
    {"Major", "major", Gender::kFemale},
    {"Mynx", "mynx", Gender::kFemale},
    {"Patriot", "razor/patriot", Gender::kMale},
    {"Phobos", "doom/phobos", Gender::kMale},
    {"Razor", "razor", Gender::kMale},
    {"Ranger", "ranger", Gender::kMale},
    {"Sarge", "sarge", Gender::kMale},
    {"Slash", "slash", Gender::kFemale},
    {"Sorlag", "sorlag", Gender::kNeuter},
    {"Stripe", "grunt/stripe", Gender::kMale},
    {"TankJr", "tankjr", Gender::kMale},
    {"Uriel", "uriel", Gender::kMale},
    {"Visor", "visor", Gender::kMale},
    {"Wrack", "ranger/wrack", Gender::kMale},
    {"Xaero", "xaero", Gender::kMale},
    {"Orbb", "orbb", Gender::kNeuter},
};

struct Model {
  const char* path;
  Gender gender;
};

constexpr Model kHumanModels[] = {
    {"sarge", Gender::kMale},      {"sarge/krusade", Gender::kMale}, {"razor/id", Gender::kMale},
    {"uriel/zael", Gender::kMale}, {"xian/default", Gender::kMale},  {"visor", Gender::kMale},
    {"ranger", Gender::kMale},     {"keel", Gender::kMale},          {"anarki", Gender::kMale},
    {"grunt", Gender::kMale},      {"klesk", Gender::kMale},         {"doom", Gender::kMale},
    {"bitterman", Gender::kMale},  {"major", Gender::kFemale},       {"slash", Gender::kFemale},
    {"lucy", Gender::kFemale},     {"mynx", Gender::kFemale},        {"orbb", Gender::kNeuter},
};

// Names that test what a name may hold: a per-cent sign, bytes outside ASCII (UTF-8),
// blanks, a dot and per-letter colours.
constexpr const char* kSpecialNames[] = {
    "100%Frag", "J\xC3\xBCrgen", "Dono da Bola", "Mr. Pink", "^1R^2a^3i^4n^5b^6o^7w", "Zeh",
};

constexpr const char* kOnsets[] = {"Kr", "Z",  "V",  "Th", "Dr", "M", "N", "R", "S", "T",
                                   "B",  "Gr", "Bl", "X",  "Sh", "L", "K", "P", "F", "H",
                                   "J",  "Qu", "St", "Sn", "C",  "D", "G", "W", "Y", "Vr"};
constexpr const char* kVowels[] = {"a",  "e", "i",  "o",  "u",  "ae",
                                   "oo", "y", "ai", "ei", "ou", "ia"};
constexpr const char* kCodas[] = {"k", "x",  "n",  "r",  "th", "s", "z", "g", "m",
                                  "l", "ck", "sh", "rn", "nt", "",  "",  "",  "v"};
constexpr const char* kTags[] = {"ZK",  "DF",   "TSR", "Q3",  "LoL",
                                 "EvL", "RAGE", "SoS", "KGB", "UFO"};
constexpr const char* kTagForms[] = {"[%]", "=%=", "{%}", "-=%=-", "|%|"};

std::string Syllable(Random& random, bool first) {
  std::string s = first ? Pick(kOnsets, random) : "";
  if (!first && random.Chance(0.5)) s += static_cast<char>(std::tolower(*Pick(kOnsets, random)));
  s += Pick(kVowels, random);
  s += Pick(kCodas, random);
  return s;
}

std::string BaseName(Random& random) {
  std::string name = Syllable(random, true);
  int more = random.Chance(0.7) ? 1 : (random.Chance(0.5) ? 2 : 0);
  for (int i = 0; i < more; ++i)
    name += Syllable(random, false);
  uint32_t style = random.Below(100);
  if (style < 8)
    name += std::to_string(random.Between(1, 99));
  else if (style < 11)
    name = "xX" + name + "Xx";
  else if (style < 14)
    name = "The" + name;
  return name;
}

std::string WithTag(const std::string& name, Random& random) {
  std::string form = Pick(kTagForms, random);
  std::string tag = Pick(kTags, random);
  return form.replace(form.find('%'), 1, tag) + name;
}

// Colour codes over a name: a colour in front, one per letter, or a coloured clan tag (for a
// name without a tag of its own).
std::string Coloured(const std::string& name, bool tagged, Random& random) {
  uint32_t style = random.Below(100);
  if (style < 60) return name;
  if (style < 82 || (style >= 90 && tagged))
    return "^" + std::to_string(random.Between(1, 7)) + name;
  if (style < 90 && name.size() <= 10) {
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
      out += '^';
      out += static_cast<char>('1' + i % 7);
      out += name[i];
    }
    return out;
  }
  std::string tag = Pick(kTags, random);
  return "^1[^7" + tag + "^1]^7" + name;
}

// Names the log readers could mistake for part of a line's shape are never used.
bool Acceptable(const std::string& key) {
  static constexpr const char* kBad[] = {
      " was ", " by ", " ate ", " almost ", " tried ", "killed", "entered the game",
      "\\",    "\"",   "|"};
  if (key.empty() || key == "Default" || key.size() > 24) return false;
  for (const char* bad : kBad) {
    if (key.find(bad) != std::string::npos) return false;
  }
  size_t n = key.size();
  // A name like Bob_1 is what a second Bob in one game is renamed to.
  return !(n >= 2 && key[n - 2] == '_' && std::isdigit(static_cast<unsigned char>(key[n - 1])));
}

PoolPlayer Human(const std::string& raw, Random& random, const Model* model = nullptr) {
  PoolPlayer player;
  player.raw = raw;
  player.key = StripColours(raw);
  const Model& chosen = model != nullptr ? *model : Pick(kHumanModels, random);
  player.model = chosen.path;
  player.gender = chosen.gender;
  player.handicap = random.Chance(0.1) ? random.Between(5, 9) * 10 + 5 : 100;
  player.colour1 = random.Between(1, 7);
  return player;
}

PoolPlayer BotPlayer(const Bot& bot, Random& random) {
  PoolPlayer player;
  player.raw = bot.name;
  player.key = bot.name;
  player.model = bot.model;
  player.gender = bot.gender;
  player.bot = true;
  player.skill = random.Between(1, 5);
  player.handicap = 70;
  return player;
}

}  // namespace

std::string StripColours(std::string_view raw) {
  std::string key;
  key.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '^') {
      ++i;
      continue;
    }
    key += raw[i];
  }
  return key;
}

std::string Recoloured(std::string_view raw, Random& random) {
  std::string key = StripColours(raw);
  std::string out = "^" + std::to_string(random.Between(1, 7)) + key;
  return out == raw ? key : out;
}

PlayerPool::PlayerPool(int32_t size, Random& random) {
  if (size < 1) size = 1;
  std::unordered_set<std::string> keys;
  auto add = [&](PoolPlayer player) {
    if (!Acceptable(player.key) || !keys.insert(player.key).second) return;
    m_players.push_back(std::move(player));
  };
  // The owner, a female and a neuter player first (see the header).
  add(Human("^4Vex^7or", random, &kHumanModels[0]));
  add(Human("Major^3Tom", random, &kHumanModels[13]));
  add(BotPlayer(kBots[31], random));
  size_t nextBot = 0;
  size_t nextSpecial = 0;
  while (static_cast<int32_t>(m_players.size()) < size) {
    size_t index = m_players.size();
    if (index % 7 == 4 && nextSpecial < std::size(kSpecialNames)) {
      add(Human(kSpecialNames[nextSpecial++], random));
    } else if (index % 4 == 3 && nextBot + 1 < std::size(kBots)) {
      add(BotPlayer(kBots[nextBot++], random));
    } else {
      std::string name = BaseName(random);
      bool tagged = random.Chance(0.12);
      if (tagged) name = WithTag(name, random);
      add(Human(Coloured(name, tagged, random), random));
    }
  }
  m_players.resize(static_cast<size_t>(size));
}

}  // namespace vexor::bench
