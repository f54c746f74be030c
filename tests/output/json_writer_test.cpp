#include "output/json_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/fixtures.h"

namespace logfsm {
namespace {

using nlohmann::json;
using testing::json_text;
using testing::latin1;
using testing::parses_as_json;
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
  EXPECT_TRUE(parses_as_json(out.str()));
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
  json states = json::array({"s0(-1)"});
  json transitions = json::array();
  json accepting = json::array();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const fsm_state s = st(names[i].name, static_cast<std::int16_t>(i));
    *s.accepting = i % 2 == 0;
    m.insert(tr(fsm_state(), s));
    const std::string state = names[i].decoded + "(" + std::to_string(i) + ")";
    states.push_back(state);
    transitions.push_back(
        {{"from", "s0(-1)"}, {"to", state}, {"track", names[i].decoded}});
    if (i % 2 == 0) accepting.push_back(state);
  }
  const std::string text = json_text(m);
  json parsed = json::parse(text);  // throws unless valid JSON and UTF-8

  // The order within the lists is state order, tested above; here each list
  // must hold exactly the expected entries, the initial state first.
  EXPECT_EQ(parsed["states"][0], "s0(-1)");
  for (json* list : {&parsed["states"], &parsed["transitions"],
                     &parsed["meta"]["isAccepting"], &states, &transitions, &accepting}) {
    std::sort(list->begin(), list->end());
  }
  EXPECT_EQ(parsed,
            (json{{"states", states},
                  {"transitions", transitions},
                  {"meta", {{"isAccepting", accepting}, {"isInitial", {"s0(-1)"}}}}}));
}

}  // namespace
}  // namespace logfsm
