#include "stats/DataFileFamilies.h"

#include <algorithm>
#include <vector>

#include "base/Archive.h"
#include "stats/DataFileReader.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

// The section begins with this text, so that a reader tells it from bytes that do not belong.
constexpr std::string_view kSectionName = "Vexor game families";
constexpr int32_t kSectionVersion = 1;
constexpr uint64_t kIntBytes = 4;

bool AnyOtherFrags(const OtherWeaponFrags& frags) {
  for (WeaponId w = kWeaponCount; w < kAllWeaponCount; ++w) {
    if (frags.Get(w) != 0) return true;
  }
  return false;
}

void WriteOtherFrags(ArchiveWriter& archive, const OtherWeaponFrags& frags) {
  for (WeaponId w = kWeaponCount; w < kAllWeaponCount; ++w)
    archive.WriteInt32(frags.Get(w));
}

}  // namespace

bool NeedsFamilySection(const VexoriumDoc& doc) {
  return std::any_of(doc.familiesRead.begin() + 1, doc.familiesRead.end(),
                     [](bool read) { return read; });
}

void WriteFamilySection(ArchiveWriter& archive, const VexoriumDoc& doc) {
  int32_t names = std::clamp(doc.nameCount, 0, VexoriumDoc::kMaxPlayers);
  int32_t games = std::clamp(doc.gameCount, 0, VexoriumDoc::kMaxGames);
  archive.WriteString(kSectionName);
  archive.WriteInt32(kSectionVersion);
  int32_t families = 0;
  for (int f = 0; f < kGameFamilyCount; ++f) {
    if (doc.familiesRead[static_cast<size_t>(f)]) families |= 1 << f;
  }
  archive.WriteInt32(families);
  for (int32_t g = 1; g <= games; ++g) {
    archive.WriteInt32(static_cast<int32_t>(doc.games[static_cast<size_t>(g)].family));
  }
  // The weapons by key, in the order their counts follow.
  archive.WriteInt32(kOtherWeaponCount);
  for (WeaponId w = kWeaponCount; w < kAllWeaponCount; ++w)
    archive.WriteString(WeaponInfoOf(w).key);
  for (int32_t p = 1; p <= names; ++p) {
    const PlayerRecord& player = doc.players[static_cast<size_t>(p)];
    WriteOtherFrags(archive, player.otherWeaponFrags);
    const GameSeries& series = player.games;
    std::vector<size_t> entries;
    for (size_t e = 0; e < series.EntryCount(); ++e) {
      int32_t g = series.GameAt(e);
      if (g >= 1 && g <= games && AnyOtherFrags(series.ValueAt(e).otherWeaponFrags)) {
        entries.push_back(e);
      }
    }
    archive.WriteInt32(static_cast<int32_t>(entries.size()));
    for (size_t e : entries) {
      archive.WriteInt32(series.GameAt(e));
      WriteOtherFrags(archive, series.ValueAt(e).otherWeaponFrags);
    }
  }
  for (int32_t g = 1; g <= games; ++g) {
    const KillTables& kills = doc.games[static_cast<size_t>(g)].kills;
    std::vector<int> tables = kills.OtherTables();
    archive.WriteInt32(static_cast<int32_t>(tables.size()));
    for (int table : tables) {
      std::vector<KillTables::Cell> cells = kills.OtherTableCells(table);
      archive.WriteInt32(table - KillTables::kTableCount);  // the weapon's place in the order above
      archive.WriteInt32(static_cast<int32_t>(cells.size()));
      for (const KillTables::Cell& cell : cells) {
        archive.WriteInt32(cell.killer);
        archive.WriteInt32(cell.victim);
        archive.WriteInt32(cell.count);
      }
    }
  }
}

namespace {

class FamilySectionReader {
 public:
  FamilySectionReader(ArchiveReader& archive, DataFileContents& contents, std::string* problem)
      : m_archive(archive), m_contents(contents), m_problem(problem) {}

  bool Read() {
    std::string name;
    int32_t version = 0;
    if (!m_archive.ReadString(&name) || name != kSectionName) return Fail("it holds unknown data");
    if (!m_archive.ReadInt32(&version) || version != kSectionVersion) {
      return Fail("its game families are of an unknown kind");
    }
    return ReadFamilies() && ReadWeapons() && ReadPlayers() && ReadTables();
  }

 private:
  bool Fail(const char* problem) {
    *m_problem = problem;
    return false;
  }
  bool Ended() { return Fail("it ends too early"); }
  bool Room(uint64_t ints) { return m_archive.Remaining() >= ints * kIntBytes; }
  bool ReadCount(int32_t* count, int32_t most) {
    return m_archive.ReadInt32(count) && *count >= 0 && *count <= most;
  }

  bool ReadFamilies() {
    int32_t families = 0;
    if (!m_archive.ReadInt32(&families) || families < 0 || families >= 1 << kGameFamilyCount) {
      return Fail("its game families are unknown");
    }
    for (int f = 0; f < kGameFamilyCount; ++f) {
      m_contents.familiesRead[static_cast<size_t>(f)] = (families >> f & 1) != 0;
    }
    if (!Room(static_cast<uint64_t>(m_contents.gameCount))) return Ended();
    for (int32_t g = 1; g <= m_contents.gameCount; ++g) {
      int32_t family = 0;
      if (!m_archive.ReadInt32(&family)) return Ended();
      if (family < 0 || family >= kGameFamilyCount) return Fail("a game's family is unknown");
      m_contents.games[static_cast<size_t>(g)].family = static_cast<GameFamily>(family);
    }
    return true;
  }

  // The file's weapons by key; a weapon this program does not know counts nowhere.
  bool ReadWeapons() {
    int32_t count = 0;
    if (!ReadCount(&count, 255)) return Fail("its weapons are not what they should be");
    m_weapons.clear();
    for (int32_t i = 0; i < count; ++i) {
      std::string key;
      if (!m_archive.ReadString(&key)) return Ended();
      WeaponId weapon = WeaponOfKey(key);
      m_weapons.push_back(weapon >= kWeaponCount ? weapon : -1);
    }
    return true;
  }

  bool ReadFrags(OtherWeaponFrags* frags) {
    for (WeaponId weapon : m_weapons) {
      int32_t value = 0;
      if (!m_archive.ReadInt32(&value)) return false;
      if (weapon >= 0 && value != 0) frags->At(weapon) = value;
    }
    return true;
  }

  bool ReadPlayers() {
    uint64_t weapons = m_weapons.size();
    for (int32_t p = 1; p <= m_contents.nameCount; ++p) {
      PlayerRecord& player = m_contents.players[static_cast<size_t>(p)];
      int32_t entries = 0;
      if (!Room(weapons + 1) || !ReadFrags(&player.otherWeaponFrags) ||
          !ReadCount(&entries, m_contents.gameCount)) {
        return Fail("its players' weapons are not what they should be");
      }
      if (!Room(static_cast<uint64_t>(entries) * (weapons + 1))) return Ended();
      int32_t last = 0;
      for (int32_t e = 0; e < entries; ++e) {
        int32_t game = 0;
        if (!m_archive.ReadInt32(&game) || game <= last || game > m_contents.gameCount) {
          return Fail("its players' games are not in order");
        }
        last = game;
        if (!ReadFrags(&player.games.At(game).otherWeaponFrags)) return Ended();
      }
    }
    return true;
  }

  bool ReadTables() {
    for (int32_t g = 1; g <= m_contents.gameCount; ++g) {
      KillTables& kills = m_contents.games[static_cast<size_t>(g)].kills;
      int32_t tables = 0;
      if (!ReadCount(&tables, static_cast<int32_t>(m_weapons.size()))) {
        return Fail("its kill tables are not what they should be");
      }
      for (int32_t t = 0; t < tables; ++t) {
        int32_t place = 0, cells = 0;
        int32_t side = m_contents.games[static_cast<size_t>(g)].playerNumber + 1;
        if (!ReadCount(&place, static_cast<int32_t>(m_weapons.size()) - 1) ||
            !ReadCount(&cells, side * side)) {
          return Fail("its kill tables are not what they should be");
        }
        if (!Room(static_cast<uint64_t>(cells) * 3)) return Ended();
        WeaponId weapon = m_weapons[static_cast<size_t>(place)];
        for (int32_t c = 0; c < cells; ++c) {
          int32_t killer = 0, victim = 0, count = 0;
          if (!m_archive.ReadInt32(&killer) || !m_archive.ReadInt32(&victim) ||
              !m_archive.ReadInt32(&count)) {
            return Ended();
          }
          if (weapon >= 0)
            kills.SetOtherCell(KillTables::TableOfWeapon(weapon), killer, victim, count);
        }
      }
    }
    return true;
  }

  ArchiveReader& m_archive;
  DataFileContents& m_contents;
  std::string* m_problem;
  std::vector<WeaponId> m_weapons;  // by place in the file; -1 for a key not known
};

}  // namespace

bool ReadFamilySection(ArchiveReader& archive, DataFileContents* contents, std::string* problem) {
  return FamilySectionReader(archive, *contents, problem).Read();
}

}  // namespace vexor
