#include "model/name_numbers.h"

namespace logfsm {

std::uint32_t name_numbers::add(std::string_view s, std::uint64_t h, std::size_t i) {
  strings_.emplace_back(s);
  hashes_.push_back(h);
  slots_[i] = static_cast<std::uint32_t>(strings_.size());
  if (strings_.size() * 2 > slots_.size()) grow();
  return static_cast<std::uint32_t>(strings_.size() - 1);
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
