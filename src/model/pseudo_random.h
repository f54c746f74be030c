// The pseudo-random sequence that numbers new states.
//
// A linear congruential generator with the classic C runtime constants,
// state starting at 1 and never reseeded: the same sequence on every platform
// and compiler (41, 18467, 6334, 26500, ...), so a log learns the same machine
// everywhere. Each learning run owns one sequence, which makes runs inside one
// process independent of each other.
#ifndef LOGFSM_MODEL_PSEUDO_RANDOM_H_
#define LOGFSM_MODEL_PSEUDO_RANDOM_H_

#include <cstdint>

namespace logfsm {

class pseudo_random {
 public:
  // The next value, from 0 to 32767.
  int next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

 private:
  std::uint32_t state_ = 1;
};

// `base` + (`r` mod 200), wrapped as a signed 16-bit value: the id of a state
// made with the drawn value `r` next to a state whose id is `base`.
inline std::int16_t offset_id(std::int16_t base, int r) {
  const int offset = (r < 0 ? -r : r) % 200;
  return static_cast<std::int16_t>(
      static_cast<std::uint16_t>(static_cast<std::uint16_t>(base) + offset));
}

}  // namespace logfsm

#endif  // LOGFSM_MODEL_PSEUDO_RANDOM_H_
