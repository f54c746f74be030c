#include "checking/json_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace logfsm {
namespace {

TEST(JsonReaderTest, EscapesDecodeToTheBytesTheWriterEncoded) {
  const std::pair<std::string, std::string> cases[] = {
      {R"json("\"\\\/\b\f\n\r\t")json", "\"\\/\b\f\n\r\t"},
      {R"json("\u0041\u0000z")json", std::string("A\0z", 3)},
      // U+0080..U+00FF stand for the raw byte: the writer escapes only stray bytes.
      {R"json("\u00e9\u00FF\u0080")json", "\xe9\xff\x80"},
      {R"json("\u0100\u20ac\uFFFF")json", "\xc4\x80\xe2\x82\xac\xef\xbf\xbf"},
      {R"json("\ud83d\ude00\uDBFF\uDFFF")json", "\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf"},
      {"\"caf\xc3\xa9 \xff\"", "caf\xc3\xa9 \xff"},  // raw bytes kept
  };
  for (const auto& [json, bytes] : cases) {
    json_value value;
    ASSERT_TRUE(parse_json(json, value).ok()) << json;
    EXPECT_EQ(value.type, json_value::kind::string) << json;
    EXPECT_EQ(value.text, bytes) << json;
  }
}

TEST(JsonReaderTest, ScalarsAndContainersKeepTheirShape) {
  json_value value;
  const char text[] = R"json( {"a" : [1, -0.5e+3, true, false, null, {}, []]} )json";
  ASSERT_TRUE(parse_json(text, value).ok());
  ASSERT_EQ(value.keys, std::vector<std::string>{"a"});
  const std::vector<json_value>& items = value.items[0].items;
  ASSERT_EQ(items.size(), 7u);
  EXPECT_EQ(items[1].type, json_value::kind::number);
  EXPECT_EQ(items[1].text, "-0.5e+3");
  EXPECT_EQ(items[2].type, json_value::kind::boolean);
  EXPECT_EQ(items[4].type, json_value::kind::null);
  EXPECT_EQ(items[5].type, json_value::kind::object);
  EXPECT_EQ(items[6].type, json_value::kind::array);
}

std::string nested(int depth) {
  return std::string(static_cast<std::size_t>(depth), '[') +
         std::string(static_cast<std::size_t>(depth), ']');
}

// Nesting is bounded so that no file exhausts the stack; a value read up to
// the error is dropped.
TEST(JsonReaderTest, MalformedTextIsRefusedWithItsPlace) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "line 1, column 1: unexpected end of the file"},
      {"  \n", "line 2, column 1: unexpected end of the file"},
      {"{\n\"a\":1\n\"b\":2}", "line 3, column 1: expected ',' or '}'"},
      {"[1 2]", "line 1, column 4: expected ',' or ']'"},
      {"{\"a\":1,}", "line 1, column 8: expected a member name"},
      {"{\"a\" 1}", "line 1, column 6: expected ':'"},
      {"[1,]", "line 1, column 4: expected a value"},
      {"\"abc", "line 1, column 5: unterminated string"},
      {"\"a\\", "line 1, column 4: unterminated string"},
      {"\"a\tb\"", "line 1, column 3: control character in a string"},
      {R"json("\x")json", "line 1, column 3: invalid escape"},
      {R"json("\u12g4")json", "line 1, column 6: expected four hex digits after \\u"},
      {R"json("\ud800")json", "line 1, column 8: unpaired surrogate"},
      {R"json("\ud800\u0041")json", "line 1, column 14: unpaired surrogate"},
      {"\"\\ud800\\u00\"", "line 1, column 12: expected four hex digits after \\u"},
      {R"json("\udc00")json", "line 1, column 8: unpaired surrogate"},
      {"01", "line 1, column 2: text after the end of the JSON value"},
      {"1.", "line 1, column 3: invalid number"},
      {"1e+", "line 1, column 4: invalid number"},
      {"-", "line 1, column 1: expected a value"},
      {"tru", "line 1, column 1: expected a value"},
      {"{} {}", "line 1, column 4: text after the end of the JSON value"},
      {"\xef\xbb\xbf{}", "line 1, column 1: expected a value"},
      {nested(kMaxJsonDepth + 1), "line 1, column 65: nested deeper than 64"},
      {nested(1'000'000), "line 1, column 65: nested deeper than 64"},
  };
  for (const auto& [text, where] : cases) {
    json_value value;
    value.type = json_value::kind::array;
    const status read = parse_json(text, value);
    EXPECT_EQ(read.code(), status_code::bad_model) << text.substr(0, 80);
    EXPECT_EQ(read.message(), "malformed JSON at " + where) << text.substr(0, 80);
    EXPECT_EQ(value.type, json_value::kind::null) << text.substr(0, 80);
  }
  json_value value;
  EXPECT_TRUE(parse_json(nested(kMaxJsonDepth), value).ok());
}

}  // namespace
}  // namespace logfsm
