#include "model/name_numbers.h"

#include <cassert>
#include <cstring>

namespace logfsm {
namespace {

// A hash of `s`: 8 bytes at a time, each mixed in.
std::uint64_t hash_of(std::string_view s) {
  std::uint64_t h = 0x9E3779B97F4A7C15u ^ s.size();
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, s.data() + i, 8);
    h = (h ^ word) * 0xBF58476D1CE4E5B9u;
    h ^= h >> 29;
  }
  std::uint64_t rest = 0;
  if (i < s.size()) std::memcpy(&rest, s.data() + i, s.size() - i);  // data() may be null
  h = (h ^ rest) * 0x94D049BB133111EBu;
  return h ^ (h >> 31);
}

}  // namespace

// Slots hold a number + 1; 0 is a free slot.
std::size_t name_numbers::slot_of(std::string_view s, std::uint64_t h) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = h & mask;
  for (; slots_[i] != 0; i = (i + 1) & mask) {
    const std::uint32_t n = slots_[i] - 1;
    if (hashes_[n] == h && strings_[n] == s) break;
  }
  return i;
}

std::uint32_t name_numbers::number(std::string_view s) {
  const std::uint64_t h = hash_of(s);
  const std::size_t i = slot_of(s, h);
  if (slots_[i] != 0) return slots_[i] - 1;
  strings_.emplace_back(s);
  hashes_.push_back(h);
  slots_[i] = static_cast<std::uint32_t>(strings_.size());
  if (strings_.size() * 2 > slots_.size()) grow();
  return static_cast<std::uint32_t>(strings_.size() - 1);
}

std::uint32_t name_numbers::find(std::string_view s) const {
  const std::size_t i = slot_of(s, hash_of(s));
  return slots_[i] == 0 ? none : slots_[i] - 1;
}

const std::string& name_numbers::operator[](std::uint32_t n) const {
  assert(n < strings_.size());
  return strings_[n];
}

void name_numbers::clear() {
  strings_.clear();
  hashes_.clear();
  slots_.assign(kFirstSlots, 0);
}

void name_numbers::grow() {
  slots_.assign(slots_.size() * 2, 0);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t n = 0; n < strings_.size(); ++n) {
    std::size_t i = hashes_[n] & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    slots_[i] = static_cast<std::uint32_t>(n + 1);
  }
}

}  // namespace logfsm
