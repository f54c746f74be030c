#include "checking/model_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "output/json_writer.h"
#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::json_text;
using testing::st;
using testing::tr;

// ---- The JSON reader ----

std::string string_value(std::string_view json) {
  const json_parse parsed = parse_json(json);
  EXPECT_EQ(parsed.error, "") << json;
  EXPECT_EQ(parsed.value.type, json_value::kind::string) << json;
  return parsed.value.text;
}

TEST(ModelJsonTest, EscapesDecodeToTheBytesTheWriterEncoded) {
  EXPECT_EQ(string_value(R"json("\"\\\/\b\f\n\r\t")json"), "\"\\/\b\f\n\r\t");
  EXPECT_EQ(string_value(R"json("\u0041\u0000z")json"), std::string("A\0z", 3));
  // U+0080..U+00FF stand for the raw byte: the writer escapes only stray bytes.
  EXPECT_EQ(string_value(R"json("\u00e9\u00FF\u0080")json"), "\xe9\xff\x80");
  EXPECT_EQ(string_value(R"json("\u0100\u20ac\uFFFF")json"),
            "\xc4\x80\xe2\x82\xac\xef\xbf\xbf");
  EXPECT_EQ(string_value(R"json("\ud83d\ude00\uDBFF\uDFFF")json"),
            "\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf");
  EXPECT_EQ(string_value("\"caf\xc3\xa9 \xff\""), "caf\xc3\xa9 \xff");  // raw bytes kept
}

TEST(ModelJsonTest, ScalarsAndContainersKeepTheirShape) {
  const json_parse parsed =
      parse_json(R"json( {"a" : [1, -0.5e+3, true, false, null, {}, []]} )json");
  ASSERT_EQ(parsed.error, "");
  ASSERT_EQ(parsed.value.keys, std::vector<std::string>{"a"});
  const std::vector<json_value>& items = parsed.value.items[0].items;
  ASSERT_EQ(items.size(), 7u);
  EXPECT_EQ(items[1].type, json_value::kind::number);
  EXPECT_EQ(items[1].text, "-0.5e+3");
  EXPECT_EQ(items[2].type, json_value::kind::boolean);
  EXPECT_EQ(items[4].type, json_value::kind::null);
  EXPECT_EQ(items[5].type, json_value::kind::object);
  EXPECT_EQ(items[6].type, json_value::kind::array);
}

TEST(ModelJsonTest, MalformedTextIsRefusedWithItsPlace) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "line 1, column 1: unexpected end of the file"},
      {"  \n", "line 2, column 1: unexpected end of the file"},
      {"{\n\"a\":1\n\"b\":2}", "line 3, column 1: expected ',' or '}'"},
      {"[1 2]", "line 1, column 4: expected ',' or ']'"},
      {"{\"a\":1,}", "line 1, column 8: expected a member name"},
      {"{\"a\" 1}", "line 1, column 6: expected ':'"},
      {"[1,]", "line 1, column 4: expected a value"},
      {"\"abc", "line 1, column 5: unterminated string"},
      {"\"a\tb\"", "line 1, column 3: control character in a string"},
      {R"json("\x")json", "line 1, column 3: invalid escape"},
      {R"json("\u12g4")json", "line 1, column 6: expected four hex digits after \\u"},
      {R"json("\ud800")json", "line 1, column 8: unpaired surrogate"},
      {R"json("\ud800\u0041")json", "line 1, column 14: unpaired surrogate"},
      {R"json("\udc00")json", "line 1, column 8: unpaired surrogate"},
      {"01", "line 1, column 2: text after the end of the JSON value"},
      {"1.", "line 1, column 3: invalid number"},
      {"1e+", "line 1, column 4: invalid number"},
      {"-", "line 1, column 1: expected a value"},
      {"tru", "line 1, column 1: expected a value"},
      {"{} {}", "line 1, column 4: text after the end of the JSON value"},
      {"\xef\xbb\xbf{}", "line 1, column 1: expected a value"},
  };
  for (const auto& [text, where] : cases) {
    EXPECT_EQ(parse_json(text).error, "malformed JSON at " + where) << text;
  }
}

TEST(ModelJsonTest, NestingIsBoundedSoNoFileExhaustsTheStack) {
  const auto nested = [](int depth) {
    return std::string(static_cast<std::size_t>(depth), '[') +
           std::string(static_cast<std::size_t>(depth), ']');
  };
  EXPECT_EQ(parse_json(nested(kMaxJsonDepth)).error, "");
  EXPECT_NE(parse_json(nested(kMaxJsonDepth + 1)).error.find("nested deeper than"),
            std::string::npos);
  EXPECT_NE(parse_json(nested(1'000'000)).error, "");
}

// ---- The machine's shape ----

constexpr char kSmallModel[] = R"json({"states":["s0(-1)","a(0)"],
"transitions":[{"from":"s0(-1)","to":"a(0)","track":"a"},
{"from":"a(0)","to":"a(0)","track":"a"}],
"meta":{"isAccepting":["a(0)"],"isInitial":["s0(-1)"]}})json";

TEST(ModelFileTest, ReadsStatesTransitionsAndMeta) {
  const model_read read = read_model(kSmallModel);
  ASSERT_EQ(read.error, "");
  EXPECT_EQ(read.model.states, (std::vector<std::string>{"s0(-1)", "a(0)"}));
  ASSERT_EQ(read.model.transitions.size(), 2u);
  EXPECT_EQ(read.model.transitions[1].from, 1u);
  EXPECT_EQ(read.model.transitions[1].to, 1u);
  EXPECT_EQ(read.model.transitions[1].track, "a");
  EXPECT_EQ(read.model.initial, std::vector<std::uint32_t>{0});
  EXPECT_EQ(read.model.accepting, std::vector<std::uint32_t>{1});
}

TEST(ModelFileTest, ForeignShapesAreRefusedWithWhatIsMissing) {
  const std::string meta = R"json("meta":{"isAccepting":[],"isInitial":["s0(-1)"]})json";
  const std::pair<std::string, std::string> cases[] = {
      {"[]", "not a JSON object"},
      {"{}", "no \"states\" array"},
      {R"json({"states":{},"transitions":[],)json" + meta + "}", "no \"states\" array"},
      {R"json({"states":[],)json" + meta + "}", "no \"transitions\" array"},
      {R"json({"states":[],"transitions":[]})json", "no \"meta\" object"},
      {R"json({"states":[],"transitions":[],"meta":{"isInitial":["s0(-1)"]}})json",
       "no \"isAccepting\" array"},
      {R"json({"states":[],"transitions":[],"meta":{"isAccepting":[],"isInitial":[]}})json",
       "\"isInitial\" is empty"},
      {R"json({"states":[1],"transitions":[],)json" + meta + "}",
       "\"states\" holds a state that is not a string"},
      {R"json({"states":["a"],"transitions":[],)json" + meta + "}",
       "\"states\" holds a state without \"(ID)\" at its end"},
      {R"json({"states":["a(40000)"],"transitions":[],)json" + meta + "}",
       "\"states\" holds a state without \"(ID)\" at its end"},
      {R"json({"states":["a()"],"transitions":[],)json" + meta + "}",
       "\"states\" holds a state without \"(ID)\" at its end"},
      {R"json({"states":[],"transitions":[7],)json" + meta + "}",
       "transition 1: not an object"},
      {R"json({"states":[],"transitions":[{"from":"s0(-1)","to":"a(0)"}],)json" + meta +
           "}",
       "transition 1: no \"track\" string"},
      {R"json({"states":[],"transitions":[{"from":"s0(-1)","to":"a(0)","track":null}],)json" +
           meta + "}",
       "transition 1: no \"track\" string"},
      {R"json({"states":[],"transitions":[{"from":"s0(-1)","to":"a(0)","track":"b"}],)json" +
           meta + "}",
       "transition 1: \"track\" is not the event of \"to\""},
      {R"json({"states":[],"transitions":[{"from":"s0(-1)","to":"x(a(0)","track":"x"}],)json" +
           meta + "}",
       "transition 1: \"track\" is not the event of \"to\""},
      {R"json({"states":[],"states":[],"transitions":[],)json" + meta + "}",
       "two members \"states\""},
  };
  for (const auto& [text, what] : cases) {
    EXPECT_EQ(read_model(text).error, "not a logfsm model (" + what + ")") << text;
  }
}

TEST(ModelFileTest, MembersTheWriterDoesNotWriteAreIgnored) {
  std::string text = kSmallModel;
  text.insert(1, R"json("comment":{"by":[1,2]},)json");
  EXPECT_EQ(read_model(text).error, "");
}

// ---- Round trip with the writer ----

// Names that exercise every escape of the writer: each single byte, valid
// UTF-8 of every length, and the invalid forms written byte by byte.
std::vector<std::string> awkward_names() {
  std::vector<std::string> names;
  for (int b = 0; b < 256; ++b) names.push_back(std::string(1, static_cast<char>(b)));
  for (const char* name : {"caf\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80", "\xc3(",
                           "\xed\xa0\x80", "\xc0\xaf", "\xf4\x90\x80\x80", "\xe2\x82",
                           "\xc3\xa9\xa9", "a(1)", "s0", "\\u00e9", "\"q\";x"}) {
    names.push_back(name);
  }
  return names;
}

TEST(ModelFileTest, EveryNameTheWriterWritesReadsBackByteForByte) {
  const std::vector<std::string> names = awkward_names();
  machine m;
  std::int16_t id = 0;
  for (const std::string& name : names) m.insert(tr(fsm_state(), st(name, id++)));
  m.insert(tr(fsm_state(), st("", id)));  // the empty name is written as s0(ID)

  const model_read read = read_model(json_text(m));

  ASSERT_EQ(read.error, "");
  std::vector<std::string> tracks;
  for (const model_transition& t : read.model.transitions) tracks.push_back(t.track);
  std::vector<std::string> expected = names;
  expected.push_back("");
  std::sort(tracks.begin(), tracks.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(tracks, expected);
}

}  // namespace
}  // namespace logfsm
