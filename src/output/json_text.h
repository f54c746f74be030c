// Appending JSON documents to a string: the one way every report writes
// JSON (check, eval, the view's data). It places the commas between members
// and elements, escapes strings as the model files do (output/state_text.h),
// so any bytes a log holds give valid JSON, and can put the elements of an
// array on lines of their own.
#ifndef LOGFSM_OUTPUT_JSON_TEXT_H_
#define LOGFSM_OUTPUT_JSON_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace logfsm {

class json_text {
 public:
  // Appends to `out`, which must outlive this.
  explicit json_text(std::string& out) : out_(out) {}

  json_text& open_object() { return open('{', false); }
  json_text& close_object() { return close('}'); }
  // With `one_per_line`, every element starts a line of its own, and the
  // closing bracket too when there is an element.
  json_text& open_array(bool one_per_line = false) { return open('[', one_per_line); }
  json_text& close_array() { return close(']'); }

  // The name of the next member of the open object (written as is: names
  // are plain ASCII).
  json_text& key(std::string_view name);

  json_text& string(std::string_view text);
  template <typename Integer>
    requires std::is_integral_v<Integer>
  json_text& number(Integer value) {
    return number_text(std::to_string(value));
  }
  // A number already written out (e.g. with a fixed count of decimals).
  json_text& number_text(std::string_view text);
  json_text& boolean(bool value) { return number_text(value ? "true" : "false"); }
  json_text& null() { return number_text("null"); }

  // Every element of `items` through `write(json, item)`, as one array.
  template <typename Items, typename Write>
  json_text& array(const Items& items, Write write, bool one_per_line = false) {
    open_array(one_per_line);
    for (const auto& item : items) write(*this, item);
    return close_array();
  }
  json_text& strings(const std::vector<std::string>& items) {
    return array(items, [](json_text& j, const std::string& s) { j.string(s); });
  }

 private:
  struct level {
    bool empty = true;
    bool one_per_line = false;
  };

  // Before a value: the comma (and line break) after the previous element
  // of an array; nothing after a key.
  void before_value();
  json_text& open(char bracket, bool one_per_line);
  json_text& close(char bracket);

  std::string& out_;
  std::vector<level> levels_;
  bool after_key_ = false;
};

}  // namespace logfsm

#endif  // LOGFSM_OUTPUT_JSON_TEXT_H_
