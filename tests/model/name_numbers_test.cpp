#include "model/name_numbers.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace logfsm {
namespace {

// Numbers against a plain map, across the table's growth, with odd bytes,
// and again after clear().
TEST(NameNumbersTest, NumbersStringsInOrderOfFirstAppearance) {
  name_numbers table;
  for (int round = 0; round < 2; ++round) {
    std::map<std::string, std::uint32_t> plain;
    for (int i = 0; i < 3000; ++i) {
      const int k = i * 7919 % 1000;  // each key met three times, interleaved
      const std::string s =
          k == 0 ? std::string() : std::string(k % 23, '\0') + std::to_string(k) + "\xff";
      const std::uint32_t expected =
          plain.try_emplace(s, static_cast<std::uint32_t>(plain.size())).first->second;
      ASSERT_EQ(table.find(s), i < 1000 ? name_numbers::none : expected);
      ASSERT_EQ(table.number(s), expected);
      ASSERT_EQ(table[expected], s);
    }
    EXPECT_EQ(table.size(), 1000u);
    EXPECT_EQ(table.strings().size(), 1000u);
    table.clear();
    EXPECT_EQ(table.size(), 0u);
    EXPECT_EQ(table.find(""), name_numbers::none);
  }
}

}  // namespace
}  // namespace logfsm
