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

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace logfsm {

class name_numbers {
 public:
  // What find() answers for a string that is not in the table.
  static constexpr std::uint32_t none = UINT32_MAX;

  // The number of `s`, which is size() (and `s` is added) when `s` is new.
  std::uint32_t number(std::string_view s);
  // The number of `s`, or `none`.
  std::uint32_t find(std::string_view s) const;

  // The string numbered `n`. Requires: n < size().
  const std::string& operator[](std::uint32_t n) const;
  // Every string, by number.
  const std::vector<std::string>& strings() const { return strings_; }
  std::size_t size() const { return strings_.size(); }
  // Forgets every string; numbering starts again from 0.
  void clear();

 private:
  // Where `s`, of hash `h`, is held, or the free slot where it would go.
  std::size_t slot_of(std::string_view s, std::uint64_t h) const;
  void grow();

  static constexpr std::size_t kFirstSlots = 64;  // a power of two

  std::vector<std::string> strings_;
  std::vector<std::uint64_t> hashes_;  // of each of strings_
  std::vector<std::uint32_t> slots_ = std::vector<std::uint32_t>(kFirstSlots, 0);
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_NAME_NUMBERS_H_
