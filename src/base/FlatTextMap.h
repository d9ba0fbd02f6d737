// A hash table keyed by text for the look-ups every line of a log makes (names to records):
// open addressing with linear probing over a power-of-two table of small slots, each holding a
// piece of its key's hash and the number of its entry; each entry keeps its key and value side
// by side. A look-up reads one slot or two and one entry, where a table of nodes divides by a
// prime and follows a pointer or two.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/TextHash.h"

namespace vexor {

template <typename Value>
class FlatTextMap {
 public:
  size_t Size() const { return m_entries.size(); }

  const Value* Find(std::string_view key) const {
    if (m_entries.empty()) return nullptr;
    size_t slot = SlotOf(key, HashText(key));
    int32_t entry = m_slots[slot].entry;
    return entry < 0 ? nullptr : &m_entries[static_cast<size_t>(entry)].value;
  }
  Value* Find(std::string_view key) {
    return const_cast<Value*>(static_cast<const FlatTextMap&>(*this).Find(key));
  }

  // The value of the key, a new default value when the key is new.
  Value& Insert(std::string_view key) {
    if ((m_entries.size() + 1) * 4 > m_slots.size() * 3) Grow();
    uint64_t hash = HashText(key);
    size_t slot = SlotOf(key, hash);
    if (m_slots[slot].entry >= 0) return m_entries[static_cast<size_t>(m_slots[slot].entry)].value;
    m_slots[slot] = {Tag(hash), static_cast<int32_t>(m_entries.size())};
    m_hashes.push_back(hash);
    return m_entries.emplace_back(Entry{std::string(key), Value{}}).value;
  }

  // Removes the key; false when it is not there.
  bool Erase(std::string_view key) {
    if (m_entries.empty()) return false;
    size_t slot = SlotOf(key, HashText(key));
    int32_t entry = m_slots[slot].entry;
    if (entry < 0) return false;
    RemoveSlot(slot);
    // The last entry fills the hole, and its slot follows it.
    size_t last = m_entries.size() - 1;
    if (static_cast<size_t>(entry) != last) {
      m_slots[EntrySlot(last)].entry = entry;
      m_hashes[static_cast<size_t>(entry)] = m_hashes[last];
      m_entries[static_cast<size_t>(entry)] = std::move(m_entries[last]);
    }
    m_hashes.pop_back();
    m_entries.pop_back();
    return true;
  }

  void Clear() {
    m_slots.clear();
    m_hashes.clear();
    m_entries.clear();
  }

  // Calls f(key, value) for every entry, in no particular order.
  template <typename F>
  void ForEach(F&& f) {
    for (Entry& entry : m_entries)
      f(std::string_view(entry.key), entry.value);
  }

 private:
  struct Entry {
    std::string key;
    Value value;
  };
  struct Slot {
    uint32_t tag = 0;
    int32_t entry = -1;  // -1: empty
  };

  static uint32_t Tag(uint64_t hash) { return static_cast<uint32_t>(hash >> 32); }
  size_t Home(uint64_t hash) const { return static_cast<size_t>(hash) & (m_slots.size() - 1); }

  // The slot that holds the key, or the empty slot where it would go.
  size_t SlotOf(std::string_view key, uint64_t hash) const {
    size_t mask = m_slots.size() - 1;
    uint32_t tag = Tag(hash);
    for (size_t slot = Home(hash);; slot = (slot + 1) & mask) {
      const Slot& s = m_slots[slot];
      if (s.entry < 0) return slot;
      if (s.tag == tag && SameText(m_entries[static_cast<size_t>(s.entry)].key, key)) return slot;
    }
  }

  size_t EntrySlot(size_t entry) const {
    size_t mask = m_slots.size() - 1;
    size_t slot = Home(m_hashes[entry]);
    while (m_slots[slot].entry != static_cast<int32_t>(entry))
      slot = (slot + 1) & mask;
    return slot;
  }

  // Empties the slot and moves later slots of the same run back, so that every key stays
  // reachable from its home slot without gaps.
  void RemoveSlot(size_t hole) {
    size_t mask = m_slots.size() - 1;
    for (size_t next = (hole + 1) & mask; m_slots[next].entry >= 0; next = (next + 1) & mask) {
      size_t home = Home(m_hashes[static_cast<size_t>(m_slots[next].entry)]);
      // The slot may move to the hole when its home is not cyclically in (hole, next].
      bool homeAfterHole =
          hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
      if (homeAfterHole) continue;
      m_slots[hole] = m_slots[next];
      hole = next;
    }
    m_slots[hole] = Slot{};
  }

  void Grow() {
    size_t size = m_slots.empty() ? 16 : m_slots.size() * 2;
    m_slots.assign(size, Slot{});
    for (size_t entry = 0; entry < m_entries.size(); ++entry) {
      size_t slot = Home(m_hashes[entry]);
      while (m_slots[slot].entry >= 0)
        slot = (slot + 1) & (size - 1);
      m_slots[slot] = {Tag(m_hashes[entry]), static_cast<int32_t>(entry)};
    }
  }

  std::vector<Slot> m_slots;       // a power of two, at most three quarters used
  std::vector<uint64_t> m_hashes;  // by entry
  std::vector<Entry> m_entries;
};

}  // namespace vexor
