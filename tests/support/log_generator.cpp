#include "support/log_generator.h"

#include <vector>

namespace logfsm::testing {

std::uint64_t seeded_sequence::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

namespace {

std::string event_name(std::uint32_t index) {
  static const char* const kSmall[] = {"a", "b", "c", "d", "e", "f", "g", "h"};
  if (index < 8) return kSmall[index];
  return "ev" + std::to_string(index);
}

// A random process: for every event its successors (with weights implied by
// repetition in the list) and a chance to end after it.
struct process {
  std::vector<std::vector<std::uint32_t>> successors;
  std::vector<std::uint32_t> end_percent;
  std::vector<std::uint32_t> starts;
};

process make_process(seeded_sequence& rng, std::uint32_t names) {
  process p;
  p.successors.resize(names);
  p.end_percent.resize(names);
  for (std::uint32_t e = 0; e < names; ++e) {
    // Mostly forward in a loose order, sometimes back, so traces loop.
    const std::uint32_t fan = 1 + rng.below(3);
    for (std::uint32_t f = 0; f < fan; ++f) {
      const std::uint32_t next =
          rng.chance(80) ? (e + 1 + rng.below(3)) % names : rng.below(names);
      p.successors[e].push_back(next);
    }
    p.end_percent[e] = rng.chance(25) ? 30 + rng.below(50) : rng.below(8);
  }
  const std::uint32_t start_count = 1 + rng.below(names < 3 ? names : 3);
  for (std::uint32_t s = 0; s < start_count; ++s) p.starts.push_back(rng.below(names));
  return p;
}

void append_process_trace(std::string& out, seeded_sequence& rng, const process& p,
                          std::uint32_t max_length, std::uint32_t repeat_percent) {
  std::uint32_t e = p.starts[rng.below(static_cast<std::uint32_t>(p.starts.size()))];
  for (std::uint32_t i = 0; i < max_length; ++i) {
    out += event_name(e);
    out += ';';
    if (rng.chance(repeat_percent)) {
      out += event_name(e);
      out += ';';
    }
    if (rng.chance(p.end_percent[e])) break;
    const auto& next = p.successors[e];
    e = next[rng.below(static_cast<std::uint32_t>(next.size()))];
  }
}

void append_random_trace(std::string& out, seeded_sequence& rng, std::uint32_t names,
                         std::uint32_t max_length, std::uint32_t repeat_percent) {
  const std::uint32_t length = rng.below(max_length + 1);
  std::uint32_t previous = 0;
  for (std::uint32_t i = 0; i < length; ++i) {
    const std::uint32_t e =
        (i > 0 && rng.chance(repeat_percent)) ? previous : rng.below(names);
    out += names > 1 && e == names - 1 && rng.chance(30) ? std::string() : event_name(e);
    out += ';';
    previous = e;
  }
}

}  // namespace

generated_log random_log(std::uint64_t seed) {
  seeded_sequence rng(seed);
  static const std::uint32_t kAlphabets[] = {1, 2, 3, 4, 5, 8, 12, 20};
  const std::uint32_t names = kAlphabets[rng.below(8)];
  const bool structured = rng.chance(60);
  const std::uint32_t lines =
      1 + rng.below(rng.chance(10) ? 150 : rng.chance(30) ? 40 : 8);
  const std::uint32_t max_length = 1 + rng.below(rng.chance(20) ? 30 : 12);
  const std::uint32_t repeat_percent = rng.chance(50) ? 0 : 5 + rng.below(30);
  const bool crlf = rng.chance(15);
  const process p = make_process(rng, names);
  std::string text;
  for (std::uint32_t line = 0; line < lines; ++line) {
    if (rng.chance(8)) {
      if (rng.chance(30)) text += "no events here";
    } else if (structured) {
      append_process_trace(text, rng, p, max_length, repeat_percent);
    } else {
      append_random_trace(text, rng, names, max_length, repeat_percent);
    }
    if (rng.chance(5)) text += "tail";
    text += crlf ? "\r\n" : "\n";
  }
  return {text, static_cast<std::int32_t>(2 + rng.below(5))};
}

namespace {

// Names in the style of business-process logs, e.g. "approve_invoice".
std::string activity_name(std::uint32_t index) {
  static const char* const kVerbs[] = {"create", "check", "approve", "send",
                                       "update", "archive", "review", "close"};
  static const char* const kObjects[] = {"order", "invoice", "payment", "shipment",
                                         "claim", "contract", "ticket", "report"};
  std::string name = std::string(kVerbs[index % 8]) + '_' + kObjects[index / 8 % 8];
  if (index >= 64) name += '_' + std::to_string(index / 64);
  return name;
}

}  // namespace

std::string process_log(std::uint64_t seed, std::uint32_t traces,
                        std::uint32_t event_names) {
  seeded_sequence process_rng(seed);
  const process p = make_process(process_rng, event_names);
  seeded_sequence rng(seed ^ 0x5DEECE66Dull);
  std::string text;
  for (std::uint32_t t = 0; t < traces; ++t) {
    // About 20 events per trace: a 5% chance to end after each, at most 60.
    std::uint32_t e = p.starts[rng.below(static_cast<std::uint32_t>(p.starts.size()))];
    for (std::uint32_t i = 0; i < 60; ++i) {
      text += activity_name(e);
      text += ';';
      if (rng.chance(3)) {
        text += activity_name(e);
        text += ';';
      }
      if (rng.chance(5)) break;
      const auto& next = p.successors[e];
      e = next[rng.below(static_cast<std::uint32_t>(next.size()))];
    }
    text += '\n';
  }
  return text;
}

}  // namespace logfsm::testing
