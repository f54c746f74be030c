#include "checking/model_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../../fuzz/model_machine.h"
#include "learning/pipeline.h"
#include "readers/text_log.h"
#include "support/fixtures.h"
#include "support/log_generator.h"
#include "support/temp_dir.h"

namespace logfsm {
namespace {

using testing::json_text;

constexpr char kSmallModel[] = R"json({"states":["s0(-1)","a(0)"],
"transitions":[{"from":"s0(-1)","to":"a(0)","track":"a"},
{"from":"a(0)","to":"a(0)","track":"a"}],
"meta":{"isAccepting":["a(0)"],"isInitial":["s0(-1)"]}})json";

TEST(ModelFileTest, ReadsStatesTransitionsAndMeta) {
  machine_shape model;
  ASSERT_TRUE(read_model(kSmallModel, model).ok());
  EXPECT_EQ(model.states, (std::vector<shape_state>{{"s0", -1}, {"a", 0}}));
  EXPECT_EQ(model.transitions, (std::vector<shape_transition>{{0, 1, "a"}, {1, 1, "a"}}));
  EXPECT_EQ(model.initial, std::vector<std::uint32_t>{0});
  EXPECT_EQ(model.accepting, std::vector<std::uint32_t>{1});
}

// The empty name and an event named "s0" are both spelled s0: one state of
// the file, while each transition keeps the event it reads.
TEST(ModelFileTest, TransitionsKeepTheirTracksWhereStatesAreSpelledAlike) {
  machine_shape model;
  ASSERT_TRUE(read_model(R"json({"states":["s0(-1)","s0(0)"],
"transitions":[{"from":"s0(-1)","to":"s0(0)","track":"s0"},
{"from":"s0(0)","to":"s0(0)","track":""}],
"meta":{"isAccepting":[],"isInitial":["s0(-1)"]}})json",
                         model)
                  .ok());
  EXPECT_EQ(model.states, (std::vector<shape_state>{{"s0", -1}, {"s0", 0}}));
  EXPECT_EQ(model.transitions,
            (std::vector<shape_transition>{{0, 1, "s0"}, {1, 1, ""}}));
}

// The shape every learned machine gives is what its JSON file reads back
// to, on logs of every generated kind and on one where the empty name and
// "s0" are both events (their states are spelled alike).
TEST(ModelFileTest, LearnedMachinesReadBackToTheirShape) {
  std::vector<std::pair<std::string, std::int32_t>> logs = {{";s0;;a;\ns0;;s0;\n;a;\n", 2}};
  for (std::uint64_t seed = 1; seed <= 60; ++seed) {
    const testing::generated_log generated = testing::random_log(seed);
    logs.emplace_back(generated.text, generated.k);
  }
  for (const auto& [text, k] : logs) {
    machine learned;
    if (!learn_log(parse_log(text), k, {}, learned).ok()) continue;
    machine_shape read;
    ASSERT_TRUE(read_model(json_text(learned), read).ok()) << text;
    EXPECT_EQ(read, shape_of(learned)) << text;
  }
}

TEST(ModelFileTest, ForeignShapesAreRefusedWithWhatIsMissing) {
  const std::string meta = R"json("meta":{"isAccepting":[],"isInitial":["s0(-1)"]})json";
  // A file of these states and transitions, with `meta`.
  const auto file = [&meta](const std::string& states, const std::string& transitions) {
    return "{\"states\":" + states + ",\"transitions\":[" + transitions + "]," + meta +
           "}";
  };
  const std::string no_id = "\"states\" holds a state without \"(ID)\" at its end";
  const std::string to_a = R"json("from":"s0(-1)","to":"a(0)")json";
  const std::pair<std::string, std::string> cases[] = {
      {"[]", "not a JSON object"},
      {"{}", "no \"states\" array"},
      {file("{}", ""), "no \"states\" array"},
      {R"json({"states":[],)json" + meta + "}", "no \"transitions\" array"},
      {R"json({"states":[],"transitions":[]})json", "no \"meta\" object"},
      {R"json({"states":[],"transitions":[],"meta":{"isInitial":["s0(-1)"]}})json",
       "no \"isAccepting\" array"},
      {R"json({"states":[],"transitions":[],"meta":{"isAccepting":[],"isInitial":[]}})json",
       "\"isInitial\" is empty"},
      {file("[1]", ""), "\"states\" holds a state that is not a string"},
      {file(R"(["a"])", ""), no_id},
      {file(R"json(["a(40000)"])json", ""), no_id},
      {file(R"json(["a()"])json", ""), no_id},
      {file("[]", "7"), "transition 1: not an object"},
      {file("[]", "{" + to_a + "}"), "transition 1: no \"track\" string"},
      {file("[]", "{" + to_a + R"(,"track":null})"), "transition 1: no \"track\" string"},
      {file("[]", "{" + to_a + R"(,"track":"b"})"),
       "transition 1: \"track\" is not the event of \"to\""},
      {file("[]", R"json({"from":"s0(-1)","to":"x(a(0)","track":"x"})json"),
       "transition 1: \"track\" is not the event of \"to\""},
      {R"json({"states":[],"states":[],"transitions":[],)json" + meta + "}",
       "two members \"states\""},
  };
  for (const auto& [text, what] : cases) {
    machine_shape model;
    const status read = read_model(text, model);
    EXPECT_EQ(read.code(), status_code::bad_model) << text;
    EXPECT_EQ(read.message(), "not a logfsm model (" + what + ")") << text;
    EXPECT_TRUE(model.states.empty() && model.transitions.empty()) << text;
  }
}

TEST(ModelFileTest, MembersTheWriterDoesNotWriteAreIgnored) {
  std::string text = kSmallModel;
  text.insert(1, R"json("comment":{"by":[1,2]},)json");
  machine_shape model;
  EXPECT_TRUE(read_model(text, model).ok());
}

// Names that exercise every escape of the writer: each single byte, valid
// UTF-8 of every length, and the invalid forms written byte by byte.
TEST(ModelFileTest, EveryNameTheWriterWritesReadsBackByteForByte) {
  std::vector<std::string> names;
  for (int b = 0; b < 256; ++b) names.push_back(std::string(1, static_cast<char>(b)));
  for (const char* name : {"caf\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80", "\xc3(",
                           "\xed\xa0\x80", "\xc0\xaf", "\xf4\x90\x80\x80", "\xe2\x82",
                           "\xc3\xa9\xa9", "a(1)", "s0", "\\u00e9", "\"q\";x"}) {
    names.push_back(name);
  }
  names.push_back("");  // written as s0(ID)
  machine m;
  std::int16_t id = 0;
  for (const std::string& name : names)
    m.insert(testing::tr(fsm_state(), testing::st(name, id++)));

  machine_shape model;
  ASSERT_TRUE(read_model(json_text(m), model).ok());
  std::vector<std::string> tracks;
  for (const shape_transition& t : model.transitions) tracks.push_back(model.track(t));
  std::sort(tracks.begin(), tracks.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(tracks, names);
  EXPECT_EQ(json_text(fuzzing::machine_of_model(model)), json_text(m));
}

TEST(ModelFileTest, LearnedFilesWriteBackTheirBytes) {
  int files = 0;
  const std::string folder = std::string(LOGFSM_TEST_DATA) + "/handworked";
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".json") continue;
    ++files;
    const std::string text = testing::read_file(entry.path());
    machine_shape model;
    ASSERT_TRUE(read_model(text, model).ok()) << entry.path();
    EXPECT_EQ(json_text(fuzzing::machine_of_model(model)), text) << entry.path();
  }
  EXPECT_GE(files, 4);
}

}  // namespace
}  // namespace logfsm
