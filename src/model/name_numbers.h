// A table of distinct strings numbered from 0 in order of first appearance,
// looked up by their bytes: how logs, readers and the machine number event
// names and case ids. The numbers are dense and last until clear(), so
// callers keep their own tables indexed by them.
//
// Inside, an open-addressing table of 32-bit slots, kept at most half full,
// and each string's 64-bit hash, so a lookup compares bytes only with
// strings of the same hash and growing hashes nothing again. Costs: a lookup
// hashes the string once (8 bytes a step); each string is stored once, with
// 8 bytes of hash and 8 to 16 bytes of slots.
#ifndef LOGFSM_MODEL_NAME_NUMBERS_H_
#define LOGFSM_MODEL_NAME_NUMBERS_H_

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace logfsm {

class name_numbers {
 public:
  // What find() answers for a string that is not in the table.
  static constexpr std::uint32_t none = UINT32_MAX;

  // The number of `s`, which is size() (and `s` is added) when `s` is new.
  std::uint32_t number(std::string_view s) {
    const std::uint64_t h = hash_of(s);
    const std::size_t i = slot_of(s, h);
    return slots_[i] != 0 ? slots_[i] - 1 : add(s, h, i);
  }
  // The number of `s`, or `none`.
  std::uint32_t find(std::string_view s) const {
    const std::size_t i = slot_of(s, hash_of(s));
    return slots_[i] == 0 ? none : slots_[i] - 1;
  }

  // The string numbered `n`. Requires: n < size().
  const std::string& operator[](std::uint32_t n) const {
    assert(n < strings_.size());
    return strings_[n];
  }
  // Every string, by number.
  const std::vector<std::string>& strings() const { return strings_; }
  std::size_t size() const { return strings_.size(); }
  // Forgets every string; numbering starts again from 0.
  void clear();

 private:
  // A hash of `s`: 8 bytes at a time, each mixed in.
  static std::uint64_t hash_of(std::string_view s) {
    std::uint64_t h = 0x9E3779B97F4A7C15u ^ s.size();
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
      std::uint64_t word;
      std::memcpy(&word, s.data() + i, 8);
      h = (h ^ word) * 0xBF58476D1CE4E5B9u;
      h ^= h >> 29;
    }
    std::uint64_t rest = 0;
    if (i < s.size())
      std::memcpy(&rest, s.data() + i, s.size() - i);  // data() may be null
    h = (h ^ rest) * 0x94D049BB133111EBu;
    return h ^ (h >> 31);
  }

  // Where `s`, of hash `h`, is held, or the free slot where it would go.
  // Slots hold a number + 1; 0 is a free slot.
  std::size_t slot_of(std::string_view s, std::uint64_t h) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = h & mask;
    for (; slots_[i] != 0; i = (i + 1) & mask) {
      const std::uint32_t n = slots_[i] - 1;
      if (hashes_[n] == h && strings_[n] == s) break;
    }
    return i;
  }

  // Adds `s`, of hash `h`, at free slot `i`; returns its number.
  std::uint32_t add(std::string_view s, std::uint64_t h, std::size_t i);
  void grow();

  static constexpr std::size_t kFirstSlots = 64;  // a power of two

  std::vector<std::string> strings_;
  std::vector<std::uint64_t> hashes_;  // of each of strings_
  std::vector<std::uint32_t> slots_ = std::vector<std::uint32_t>(kFirstSlots, 0);
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_NAME_NUMBERS_H_
