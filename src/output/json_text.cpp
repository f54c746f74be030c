#include "output/json_text.h"

#include <cassert>

#include "output/state_text.h"

namespace logfsm {

void json_text::before_value() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (levels_.empty()) return;
  level& here = levels_.back();
  if (!here.empty) out_ += ',';
  if (here.one_per_line) out_ += '\n';
  here.empty = false;
}

json_text& json_text::key(std::string_view name) {
  assert(!levels_.empty() && !after_key_);
  level& here = levels_.back();
  if (!here.empty) out_ += ',';
  here.empty = false;
  out_ += '"';
  out_.append(name);
  out_ += "\":";
  after_key_ = true;
  return *this;
}

json_text& json_text::string(std::string_view text) {
  before_value();
  out_ += '"';
  append_escaped(out_, text, text_syntax::json);
  out_ += '"';
  return *this;
}

json_text& json_text::number_text(std::string_view text) {
  before_value();
  out_.append(text);
  return *this;
}

json_text& json_text::open(char bracket, bool one_per_line) {
  before_value();
  out_ += bracket;
  levels_.push_back({true, one_per_line});
  return *this;
}

json_text& json_text::close(char bracket) {
  assert(!levels_.empty() && !after_key_);
  if (levels_.back().one_per_line && !levels_.back().empty) out_ += '\n';
  levels_.pop_back();
  out_ += bracket;
  return *this;
}

}  // namespace logfsm
