#include "output/json_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

#include "support/fixtures.h"
#include "support/json_check.h"

namespace logfsm {
namespace {

using testing::check_json;
using testing::json_check_result;
using testing::json_text;
using testing::st;
using testing::tr;

TEST(JsonWriterTest, WorkedExample) {
  const fsm_state a = st("A", 0);
  const fsm_state b = st("B", 0);
  *a.accepting = true;
  machine m;
  m.insert(tr(fsm_state(), a));
  m.insert(tr(a, b));
  m.insert(tr(b, a));
  EXPECT_EQ(json_text(m), R"json({
"states":[
"s0(-1)",
"A(0)",
"B(0)"
],
"transitions":[
{
"from":"s0(-1)",
"to":"A(0)",
"track":"A"
},
{
"from":"A(0)",
"to":"B(0)",
"track":"B"
},
{
"from":"B(0)",
"to":"A(0)",
"track":"A"
}
],"meta":{
"isAccepting":[
"A(0)"
],"isInitial":[
"s0(-1)"
]}
})json");
}

TEST(JsonWriterTest, EmptyMachineStillNamesTheInitialState) {
  std::ostringstream out;
  std::ostream& returned = write_json(out, machine());
  EXPECT_EQ(&returned, &out);
  EXPECT_EQ(out.str(), R"json({
"states":[
],
"transitions":[
],"meta":{
"isAccepting":[
],"isInitial":[
"s0(-1)"
]}
})json");
  EXPECT_TRUE(check_json(out.str()).ok);
}

// States once each in state order (a loop's state once, negative ids after
// the others); no accepting state; the initial state listed although no
// transition touches it.
TEST(JsonWriterTest, StatesOnceInStateOrder) {
  machine m;
  m.insert(tr(st("b", -1), st("a", 5)));
  m.insert(tr(st("a", 5), st("a", 5)));
  m.insert(tr(st("b", 2), st("b", -1)));
  m.insert(tr(st("", 0), st("b", 2)));
  EXPECT_EQ(json_text(m), R"json({
"states":[
"s0(0)",
"a(5)",
"b(2)",
"b(-1)"
],
"transitions":[
{
"from":"s0(0)",
"to":"b(2)",
"track":"b"
},
{
"from":"a(5)",
"to":"a(5)",
"track":"a"
},
{
"from":"b(2)",
"to":"b(-1)",
"track":"b"
},
{
"from":"b(-1)",
"to":"a(5)",
"track":"a"
}
],"meta":{
"isAccepting":[
],"isInitial":[
"s0(-1)"
]}
})json");
}

// A state is accepting when the flag of any of its copies at a transition
// end is set, also when the copy met first is not; it is listed once.
TEST(JsonWriterTest, AcceptingWhenAnyCopyIsAccepting) {
  const fsm_state a_met_first = st("a", 0);  // s0 -> a/0
  const fsm_state a_met_later = st("a", 0);  // a/0 -> c/0
  const fsm_state b = st("b", 0);
  const fsm_state c_met_first = st("c", 0);  // a/0 -> c/0
  const fsm_state c_met_later = st("c", 0);  // c/0 -> b/0
  *a_met_later.accepting = true;
  *b.accepting = true;
  *c_met_first.accepting = true;
  machine m;
  m.insert(tr(fsm_state(), a_met_first));
  m.insert(tr(a_met_later, c_met_first));
  m.insert(tr(c_met_later, b));
  m.insert(tr(b, b));
  const std::string text = json_text(m);
  EXPECT_NE(text.find(R"json(],"meta":{
"isAccepting":[
"a(0)",
"b(0)",
"c(0)"
],"isInitial":[
"s0(-1)"
]}
})json"),
            std::string::npos)
      << text;
}

// Walks the decoded strings of a writer's output, which come in document
// order: member names and values alike.
class json_strings {
 public:
  explicit json_strings(std::vector<std::string> strings)
      : strings_(std::move(strings)) {}
  const std::string& next() {
    static const std::string none = "<no more strings>";
    return at_ < strings_.size() ? strings_[at_++] : none;
  }
  bool done() const { return at_ == strings_.size(); }

 private:
  std::vector<std::string> strings_;
  std::size_t at_ = 0;
};

// A byte read as Latin-1, in UTF-8.
std::string latin1(unsigned char byte) {
  if (byte < 0x80) return std::string(1, static_cast<char>(byte));
  return {static_cast<char>(0xC0 | (byte >> 6)), static_cast<char>(0x80 | (byte & 0x3F))};
}

// Whatever bytes the names hold, the text is valid JSON and every name reads
// back: valid UTF-8 as it is, any other byte as its Latin-1 character.
TEST(JsonWriterTest, HostileNamesGiveValidJson) {
  struct named {
    std::string name;
    std::string decoded;
  };
  std::vector<named> names;
  for (int byte = 0; byte < 256; ++byte) {
    names.push_back({std::string(1, static_cast<char>(byte)),
                     latin1(static_cast<unsigned char>(byte))});
  }
  std::string every_byte;
  std::string every_byte_decoded;
  for (int byte = 255; byte >= 0; --byte) {
    every_byte += static_cast<char>(byte);
    every_byte_decoded += latin1(static_cast<unsigned char>(byte));
  }
  names.push_back({every_byte, every_byte_decoded});
  for (const char* plain :
       {"\"", "\\", "\\\"", "\"}", "{\"a\":[1]}", "->", "a->b", "],\"meta\":{",
        "s0(-1)\",\"x", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"}) {
    names.push_back({plain, plain});
  }
  names.push_back({"\xED\xA0\x80\xC0\xAF", "\xC3\xAD\xC2\xA0\xC2\x80\xC3\x80\xC2\xAF"});

  machine m;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const fsm_state s = st(names[i].name, static_cast<std::int16_t>(i));
    *s.accepting = i % 2 == 0;
    m.insert(tr(fsm_state(), s));
  }
  const std::string text = json_text(m);
  const json_check_result result = check_json(text);
  ASSERT_TRUE(result.ok) << result.error << " at " << result.offset << " in "
                         << text.substr(result.offset < 40 ? 0 : result.offset - 40, 80);

  // Every target is listed as a state and as a transition with its track.
  std::vector<std::string> expected_states = {"s0(-1)"};
  for (std::size_t i = 0; i < names.size(); ++i) {
    expected_states.push_back(names[i].decoded + "(" + std::to_string(i) + ")");
  }
  json_strings strings(result.strings);
  ASSERT_EQ(strings.next(), "states");
  std::vector<std::string> states;
  for (std::size_t i = 0; i < names.size() + 1; ++i) states.push_back(strings.next());
  EXPECT_EQ(states.front(), "s0(-1)");
  std::sort(states.begin(), states.end());
  std::vector<std::string> sorted_expected = expected_states;
  std::sort(sorted_expected.begin(), sorted_expected.end());
  EXPECT_EQ(states, sorted_expected);
  ASSERT_EQ(strings.next(), "transitions");
  // Transitions come in state order of their targets, which is not the order
  // of `names`; match them through the decoded state text.
  std::vector<bool> seen(names.size(), false);
  for (std::size_t n = 0; n < names.size(); ++n) {
    ASSERT_EQ(strings.next(), "from");
    ASSERT_EQ(strings.next(), "s0(-1)");
    ASSERT_EQ(strings.next(), "to");
    const std::string to = strings.next();
    ASSERT_EQ(strings.next(), "track");
    const std::string track = strings.next();
    const std::size_t open = to.rfind('(');
    ASSERT_NE(open, std::string::npos) << to;
    const std::size_t i = std::stoul(to.substr(open + 1));
    ASSERT_LT(i, names.size());
    EXPECT_EQ(to, expected_states[i + 1]);
    EXPECT_EQ(track, names[i].decoded);
    seen[i] = true;
  }
  EXPECT_EQ(std::count(seen.begin(), seen.end(), true),
            static_cast<std::ptrdiff_t>(names.size()));
  ASSERT_EQ(strings.next(), "meta");
  ASSERT_EQ(strings.next(), "isAccepting");
  std::size_t accepting = 0;
  for (std::string s = strings.next(); s != "isInitial"; s = strings.next()) {
    ASSERT_FALSE(strings.done()) << "isInitial missing";
    ++accepting;
  }
  EXPECT_EQ(accepting, (names.size() + 1) / 2);
  EXPECT_EQ(strings.next(), "s0(-1)");
  EXPECT_TRUE(strings.done());
}

// The checker used above must itself tell valid from invalid JSON.
TEST(JsonCheckTest, AcceptsValidTexts) {
  for (const char* text :
       {"{}", "[]", " \t\r\n{ \"a\" : [ 1 , -0.5e+3 , true , false , null ] } ", "\"\"",
        "0", "-12.25E-2", R"({"a":{"b":[[],{}]}})",
        R"("\"\\\/\b\f\n\r\t\u00e9\u20AC\ud83d\ude00")",
        "\"\xC3\xA9\xF0\x9F\x98\x80\x7f\""}) {
    const json_check_result result = check_json(text);
    EXPECT_TRUE(result.ok) << text << ": " << result.error;
  }
  const json_check_result decoded =
      check_json(R"(["a\"b", "\u00e9\ud83d\ude00", "\u0000"])");
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.strings, (std::vector<std::string>{"a\"b", "\xC3\xA9\xF0\x9F\x98\x80",
                                                       std::string(1, '\0')}));
}

TEST(JsonCheckTest, RejectsInvalidTexts) {
  // Grammar.
  for (const char* text : {"", " ", "{", "}", "[1,]", "[1 2]", "{\"a\" 1}", "{\"a\":1,}",
                           "{a:1}", "['a']", "[] []", "tru", "nul"}) {
    EXPECT_FALSE(check_json(text).ok) << ::testing::PrintToString(text);
  }
  // Numbers.
  for (const char* text : {"01", "1.", ".5", "+1", "1e", "-"}) {
    EXPECT_FALSE(check_json(text).ok) << ::testing::PrintToString(text);
  }
  // Strings: termination, escapes, raw control characters.
  for (const char* text :
       {"\"abc", "\"a\\x\"", "\"\\u12\"", "\"\\u12g4\"", "\"\\ud800\"", "\"\\udc00\"",
        "\"\\ud800\\u0041\"", "\"a\tb\"", "\"a\nb\"", "\"\x1f\""}) {
    EXPECT_FALSE(check_json(text).ok) << ::testing::PrintToString(text);
  }
  // Bytes that are not valid UTF-8, inside and outside strings.
  for (const char* text :
       {"\"\x80\"", "\"\xC0\x80\"", "\"\xC3\"", "\"\xED\xA0\x80\"",
        "\"\xF4\x90\x80\x80\"", "\"\xE2\x82\"", "\"\xFF\"", "[\"a\"]\x80"}) {
    EXPECT_FALSE(check_json(text).ok) << ::testing::PrintToString(text);
  }
  EXPECT_FALSE(check_json(std::string("\"a\0b\"", 5)).ok);
  // Nesting beyond the checker's limit is reported, not recursed into.
  EXPECT_FALSE(check_json(std::string(1000, '[') + std::string(1000, ']')).ok);
}

}  // namespace
}  // namespace logfsm
