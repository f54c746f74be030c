// The learned files must never change unless the learning itself is meant to
// change: every run is compared with checksums recorded from the plain
// implementation (every query a scan of the transition set). Set
// LOGFSM_GOLDEN_RECORD=1 to write the checksum files anew instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "learning/pipeline.h"
#include "support/fixtures.h"
#include "support/log_generator.h"
#include "support/temp_dir.h"

namespace logfsm {
namespace {

namespace fs = std::filesystem;

constexpr int kGeneratedLogs = 400;

std::string fnv1a(const std::string& bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  std::ostringstream out;
  out << std::hex << hash;
  return out.str();
}

// The checksum of the DOT and JSON files learned from `log` with `k`, and the
// number of transitions.
// Window matching walks every path as a tree when `listed_paths` is 0.
std::string learned_checksum(const std::string& log, std::int32_t k,
                             std::size_t listed_paths = pruner::kListedPathsBound) {
  fsm_builder builder = testing::builder_from_log(log, k);
  learn(builder, progress_sink{}, listed_paths);
  return fnv1a(testing::dot_text(builder.transitions) + testing::json_text(builder.transitions)) +
         " " + std::to_string(builder.transitions.size());
}

bool recording() {
  const char* value = std::getenv("LOGFSM_GOLDEN_RECORD");
  return value != nullptr && std::string(value) == "1";
}

// Compares `actual` (case name -> checksum) with the file, or records it.
void compare_with_file(const std::map<std::string, std::string>& actual,
                       const fs::path& file) {
  if (recording()) {
    std::ofstream out(file, std::ios::binary);
    for (const auto& [name, sum] : actual) out << name << ' ' << sum << '\n';
    return;
  }
  std::ifstream in(file, std::ios::binary);
  ASSERT_TRUE(in) << "missing " << file;
  std::map<std::string, std::string> expected;
  std::string name, sum, transitions;
  while (in >> name >> sum >> transitions) expected[name] = sum + " " + transitions;
  EXPECT_EQ(actual.size(), expected.size());
  for (const auto& [case_name, checksum] : actual) {
    EXPECT_EQ(checksum, expected[case_name]) << case_name;
  }
}

TEST(GoldenFiles, GeneratedLogsLearnTheRecordedMachines) {
  std::map<std::string, std::string> actual;
  for (int seed = 1; seed <= kGeneratedLogs; ++seed) {
    const testing::generated_log log = testing::random_log(static_cast<std::uint64_t>(seed));
    char name[32];
    std::snprintf(name, sizeof name, "gen%04d_k%d", seed, log.k);
    actual[name] = learned_checksum(log.text, log.k);
  }
  compare_with_file(actual, fs::path(LOGFSM_TEST_DATA) / "golden" / "generated.txt");
}

TEST(GoldenFiles, PathTreesLearnTheRecordedMachines) {
  if (recording()) GTEST_SKIP() << "recorded by the listing test";
  std::map<std::string, std::string> actual;
  for (int seed = 1; seed <= kGeneratedLogs; ++seed) {
    const testing::generated_log log = testing::random_log(static_cast<std::uint64_t>(seed));
    char name[32];
    std::snprintf(name, sizeof name, "gen%04d_k%d", seed, log.k);
    actual[name] = learned_checksum(log.text, log.k, 0);
  }
  compare_with_file(actual, fs::path(LOGFSM_TEST_DATA) / "golden" / "generated.txt");
}

TEST(GoldenFiles, PublishedLogsLearnTheRecordedMachines) {
  const fs::path logs(LOGFSM_SHARED_LOGS);
  if (!fs::is_directory(logs)) GTEST_SKIP() << "no published logs at " << logs;
  std::map<std::string, std::string> actual;
  for (const char* log_name :
       {"cruise_control", "receipt", "roadtraffic100", "running_example", "stackar"}) {
    const std::string text = testing::read_file(logs / (std::string(log_name) + ".txt"));
    ASSERT_FALSE(text.empty()) << log_name;
    for (const std::int32_t k : {2, 3, 4}) {
      actual[std::string(log_name) + "_k" + std::to_string(k)] = learned_checksum(text, k);
    }
  }
  compare_with_file(actual, fs::path(LOGFSM_TEST_DATA) / "golden" / "published.txt");
}

}  // namespace
}  // namespace logfsm
