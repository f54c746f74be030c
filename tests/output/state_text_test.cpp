#include "output/state_text.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>

#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::latin1;
using testing::st;

std::string state_text(const fsm_state& s, text_syntax syntax) {
  std::ostringstream out;
  write_state(out, s, syntax);
  return out.str();
}

std::string escaped(std::string_view name, text_syntax syntax) {
  std::ostringstream out;
  write_escaped(out, name, syntax);
  return out.str();
}

// Reads back the inside of a quoted DOT string as written by write_escaped;
// none when it holds an unescaped quote or an unknown escape.
std::optional<std::string> unescape_dot(std::string_view text) {
  std::string name;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') return std::nullopt;
    if (text[i] != '\\') {
      name += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    if (text[i] == '"' || text[i] == '\\') {
      name += text[i];
    } else if (text[i] == '0') {
      name += '\0';
    } else {
      return std::nullopt;
    }
  }
  return name;
}

TEST(StateTextTest, NameThenIdInQuotes) {
  for (const text_syntax syntax : {text_syntax::dot, text_syntax::json}) {
    EXPECT_EQ(state_text(st("A", 0), syntax), "\"A(0)\"");
    EXPECT_EQ(state_text(fsm_state(), syntax), "\"s0(-1)\"");
    EXPECT_EQ(state_text(st("", 7), syntax), "\"s0(7)\"");
    EXPECT_EQ(state_text(st("s0", 7), syntax), "\"s0(7)\"");
    EXPECT_EQ(state_text(st("open door", -32768), syntax), "\"open door(-32768)\"");
    EXPECT_EQ(state_text(st("x", 32767), syntax), "\"x(32767)\"");
  }
  EXPECT_EQ(state_text(st("say \"hi\"", 1), text_syntax::dot), "\"say \\\"hi\\\"(1)\"");
  EXPECT_EQ(state_text(st("tab\there", 1), text_syntax::json), "\"tab\\there(1)\"");
}

TEST(StateTextTest, WriteStateWritesOnlyTheStateAndChains) {
  std::ostringstream out;
  std::ostream& returned = write_state(out, st("a", 1), text_syntax::dot);
  EXPECT_EQ(&returned, &out);
  write_state(returned, st("b", 2), text_syntax::json) << '|';
  EXPECT_EQ(out.str(), "\"a(1)\"\"b(2)\"|");
}

TEST(StateTextTest, DotEscapesQuotesBackslashesAndNul) {
  using namespace std::string_literals;
  const text_syntax dot = text_syntax::dot;
  EXPECT_EQ(escaped("plain name_1", dot), "plain name_1");
  EXPECT_EQ(escaped("a\"b", dot), "a\\\"b");
  EXPECT_EQ(escaped("a\\b", dot), "a\\\\b");
  EXPECT_EQ(escaped("\\\"", dot), "\\\\\\\"");
  EXPECT_EQ(escaped("a\0b"s, dot), "a\\0b");
  EXPECT_EQ(escaped("\\0", dot), "\\\\0");
  EXPECT_EQ(escaped("\n\t\r\x01\x7f\x80\xff{}->;", dot), "\n\t\r\x01\x7f\x80\xff{}->;");
  EXPECT_EQ(escaped("", dot), "");
}

// Every name of up to two bytes reads back from its DOT text unchanged, so
// the text never ends the quoted string early and no two names share a text.
TEST(StateTextTest, DotTextReadsBackToTheName) {
  for (int first = -1; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      std::string name(1, static_cast<char>(second));
      if (first >= 0) name.insert(name.begin(), static_cast<char>(first));
      const std::optional<std::string> back =
          unescape_dot(escaped(name, text_syntax::dot));
      ASSERT_TRUE(back.has_value()) << ::testing::PrintToString(name);
      ASSERT_EQ(*back, name);
    }
  }
}

TEST(StateTextTest, JsonEscapesControlCharactersQuotesAndBackslashes) {
  using namespace std::string_literals;
  const text_syntax json = text_syntax::json;
  EXPECT_EQ(escaped("plain name_1", json), "plain name_1");
  EXPECT_EQ(escaped("a\"b", json), "a\\\"b");
  EXPECT_EQ(escaped("a\\b", json), "a\\\\b");
  EXPECT_EQ(escaped("/", json), "/");
  EXPECT_EQ(escaped("\b\f\n\r\t", json), "\\b\\f\\n\\r\\t");
  EXPECT_EQ(escaped("\0"s, json), "\\u0000");
  EXPECT_EQ(escaped("\x01\x0b\x1f", json), "\\u0001\\u000b\\u001f");
  EXPECT_EQ(escaped("\x1b[0m", json), "\\u001b[0m");
  EXPECT_EQ(escaped(" \x7f", json), " \x7f");
}

TEST(StateTextTest, JsonKeepsValidUtf8AndEscapesEveryOtherByte) {
  const text_syntax json = text_syntax::json;
  // Kept: the smallest and largest sequences of every length and boundaries.
  for (const char* kept :
       {"\xC2\x80", "\xC3\xA9t\xC3\xA9", "\xDF\xBF", "\xE0\xA0\x80", "\xE2\x82\xAC",
        "\xED\x9F\xBF", "\xEE\x80\x80", "\xEF\xBF\xBF", "\xF0\x90\x80\x80",
        "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", "\xE6\x97\xA5\xE6\x9C\xAC"}) {
    EXPECT_EQ(escaped(kept, json), kept) << ::testing::PrintToString(kept);
  }
  // Not part of any valid sequence: each byte on its own as \u00XX.
  EXPECT_EQ(escaped("\x80", json), "\\u0080");
  EXPECT_EQ(escaped("\xBF\xFE\xFF", json), "\\u00bf\\u00fe\\u00ff");
  EXPECT_EQ(escaped("\xC0\x80", json), "\\u00c0\\u0080");             // overlong NUL
  EXPECT_EQ(escaped("\xC1\xBF", json), "\\u00c1\\u00bf");             // overlong
  EXPECT_EQ(escaped("\xE0\x9F\xBF", json), "\\u00e0\\u009f\\u00bf");  // overlong
  EXPECT_EQ(escaped("\xF0\x8F\xBF\xBF", json), "\\u00f0\\u008f\\u00bf\\u00bf");
  EXPECT_EQ(escaped("\xED\xA0\x80", json), "\\u00ed\\u00a0\\u0080");  // surrogate
  EXPECT_EQ(escaped("\xED\xBF\xBF", json), "\\u00ed\\u00bf\\u00bf");  // surrogate
  EXPECT_EQ(escaped("\xF4\x90\x80\x80", json), "\\u00f4\\u0090\\u0080\\u0080");
  EXPECT_EQ(escaped("\xF5\x80\x80\x80", json), "\\u00f5\\u0080\\u0080\\u0080");
  EXPECT_EQ(escaped("a\xC3", json), "a\\u00c3");                      // truncated
  EXPECT_EQ(escaped("\xE2\x82", json), "\\u00e2\\u0082");             // truncated
  EXPECT_EQ(escaped("\xF0\x9F\x98", json), "\\u00f0\\u009f\\u0098");  // truncated
  EXPECT_EQ(escaped("\xC3(", json), "\\u00c3(");
  EXPECT_EQ(escaped("\xE2\x82\"", json), "\\u00e2\\u0082\\\"");
  // After a broken sequence the next valid one is kept.
  EXPECT_EQ(escaped("\xE2\x82\xE2\x82\xAC", json), "\\u00e2\\u0082\xE2\x82\xAC");
  EXPECT_EQ(escaped("\xF0\x9F\x98\xC3\xA9", json), "\\u00f0\\u009f\\u0098\xC3\xA9");
}

// Every name of up to two bytes gives a valid JSON string that decodes to
// the name itself when it is valid UTF-8, and otherwise to its bytes read as
// Latin-1.
TEST(StateTextTest, JsonTextOfEveryShortNameIsAValidString) {
  for (int first = -1; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      const auto b2 = static_cast<unsigned char>(second);
      std::string name(1, static_cast<char>(b2));
      std::string expected = latin1(b2);
      if (first >= 0) {
        const auto b1 = static_cast<unsigned char>(first);
        name.insert(name.begin(), static_cast<char>(b1));
        const bool valid_pair = b1 >= 0xC2 && b1 <= 0xDF && b2 >= 0x80 && b2 <= 0xBF;
        expected = valid_pair ? name : latin1(b1) + latin1(b2);
      }
      const std::string text = "\"" + escaped(name, text_syntax::json) + "\"";
      ASSERT_TRUE(testing::parses_as_json(text)) << ::testing::PrintToString(name);
      ASSERT_EQ(nlohmann::json::parse(text), expected) << ::testing::PrintToString(name);
    }
  }
}

TEST(StateTextTest, Utf8SequenceLength) {
  // Well-formed: the length of the first sequence only.
  for (const char* text : {"a", "\x7f", "a\xC3\xA9"}) {
    EXPECT_EQ(utf8_sequence_length(text), 1u) << ::testing::PrintToString(text);
  }
  EXPECT_EQ(utf8_sequence_length(std::string_view("\0", 1)), 1u);
  for (const char* text : {"\xC2\x80", "\xC3\xA9xyz", "\xDF\xBF"}) {
    EXPECT_EQ(utf8_sequence_length(text), 2u) << ::testing::PrintToString(text);
  }
  for (const char* text :
       {"\xE0\xA0\x80", "\xE2\x82\xAC", "\xED\x9F\xBF", "\xEF\xBF\xBF"}) {
    EXPECT_EQ(utf8_sequence_length(text), 3u) << ::testing::PrintToString(text);
  }
  for (const char* text : {"\xF0\x90\x80\x80", "\xF3\xBF\xBF\xBF", "\xF4\x8F\xBF\xBF"}) {
    EXPECT_EQ(utf8_sequence_length(text), 4u) << ::testing::PrintToString(text);
  }
  // Stray continuation bytes, overlong forms, surrogates, code points above
  // U+10FFFF and bytes that never occur.
  for (const char* text : {"\x80", "\xBF", "\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF",
                           "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF"}) {
    EXPECT_EQ(utf8_sequence_length(text), 0u) << ::testing::PrintToString(text);
  }
  for (const char* text : {"\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFE", "\xFF"}) {
    EXPECT_EQ(utf8_sequence_length(text), 0u) << ::testing::PrintToString(text);
  }
  // Truncated or interrupted sequences.
  for (const char* text : {"\xC2", "\xE2\x82", "\xF0\x9F\x98", "\xC2\x7f", "\xC2\xC0",
                           "\xE2\x82\x41", "\xE2\x41\xAC", "\xF0\x9F\x98\x41"}) {
    EXPECT_EQ(utf8_sequence_length(text), 0u) << ::testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace logfsm
