#include "readers/xes_log.h"

#ifdef LOGFSM_HAVE_EXPAT
#include <expat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/name_numbers.h"
#include "readers/shown_text.h"
#include "readers/time_order.h"
#include "readers/timestamp.h"
#endif

namespace logfsm {

#ifndef LOGFSM_HAVE_EXPAT

bool reads_xes() { return false; }

status read_xes_log(input_file& /*in*/, const read_options& /*options*/,
                    event_log& /*log*/, read_notes& /*notes*/) {
  return status(status_code::bad_log, "this build reads no XES files");
}

#else

bool reads_xes() { return true; }

namespace {

// Bytes handed to expat at a time.
constexpr std::size_t kChunk = 1 << 16;
// Expat holds a tag, comment or declaration whole until its end arrives, and
// a tag stack entry per open element; these bounds keep its memory in
// proportion to what the log holds, whatever a hostile document does.
constexpr std::size_t kMaxMarkup = std::size_t{1} << 24;
constexpr int kMaxDepth = 10000;

constexpr const char* kNameKey = "concept:name";
constexpr const char* kLifecycleKey = "lifecycle:transition";
constexpr const char* kTimeKey = "time:timestamp";

// The name without its namespace prefix: "xes:event" is an event.
const char* local_name(const char* name) {
  const char* colon = std::strrchr(name, ':');
  return colon == nullptr ? name : colon + 1;
}

bool is(const char* name, const char* local) {
  return std::strcmp(local_name(name), local) == 0;
}

// The key and value of an attribute element, when it has both.
struct key_value {
  const char* key = nullptr;
  const char* value = nullptr;
};

key_value key_and_value(const char** atts) {
  key_value found;
  for (; atts[0] != nullptr; atts += 2) {
    if (std::strcmp(atts[0], "key") == 0) {
      found.key = atts[1];
    } else if (std::strcmp(atts[0], "value") == 0) {
      found.value = atts[1];
    }
  }
  return found;
}

// The value of the XML attribute `name` among expat's name/value pairs.
const char* attribute(const char** atts, const char* name) {
  for (; atts[0] != nullptr; atts += 2) {
    if (std::strcmp(atts[0], name) == 0) return atts[1];
  }
  return nullptr;
}

bool equal_ignoring_ascii_case(std::string_view a, std::string_view b) {
  const auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
  };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

// The values of one event's (or the event globals') attributes whose keys
// the options ask for, by the keys' numbers. The strings keep their capacity
// from event to event.
struct key_values {
  std::vector<std::string> values;
  std::vector<char> present;

  void reset(std::size_t keys) {
    values.resize(keys);
    present.assign(keys, 0);
  }
};

// The first event a note counts, and how many there are.
struct tally {
  std::int64_t count = 0;
  std::int64_t trace = 0;
  std::int64_t event = 0;

  void add(std::int64_t t, std::int64_t e) {
    if (count++ == 0) {
      trace = t;
      event = e;
    }
  }
  std::string place() const {
    return std::string(count == 1 ? "(" : "(first: ") + "trace " + std::to_string(trace) +
           ", event " + std::to_string(event) + ")";
  }
};

// One pass over the document with expat's callbacks. Elements are told
// apart by depth: <log> is 0, its <trace> and <global> children 1, a
// trace's <event> children and the globals' attributes 2, an event's
// attributes 3; everything else only moves the depth.
class xes_reader {
 public:
  xes_reader(const read_options& options, event_log& log);
  ~xes_reader() {
    if (parser_ != nullptr) XML_ParserFree(parser_);
  }
  xes_reader(const xes_reader&) = delete;
  xes_reader& operator=(const xes_reader&) = delete;

  status read(input_file& in, read_notes& notes);

 private:
  static void XMLCALL on_start(void* self, const XML_Char* name, const XML_Char** atts) {
    static_cast<xes_reader*>(self)->start_element(name, atts);
  }
  static void XMLCALL on_end(void* self, const XML_Char* /*name*/) {
    static_cast<xes_reader*>(self)->end_element();
  }

  std::size_t key_number(const std::string& key);
  void start_element(const char* name, const char** atts);
  void end_element();
  void record(const char** atts, key_values& into) const;
  const std::string* value(std::size_t key) const;
  void end_event();
  void end_trace();
  void fail(const std::string& what);
  std::string place() const;
  void add_notes(read_notes& notes) const;

  const read_options& options_;
  event_log& log_;
  XML_Parser parser_;
  status failure_;

  // The keys asked for, by number: the classifier's, then the lifecycle key
  // when its option is set, and the time key (each key once).
  std::vector<std::string> keys_;
  std::vector<std::size_t> classifier_;
  std::optional<std::size_t> lifecycle_;
  std::size_t time_ = 0;

  key_values globals_;
  key_values event_;
  std::string name_;

  int depth_ = 0;
  bool in_trace_ = false;
  bool in_event_ = false;
  bool in_globals_ = false;
  std::int64_t trace_number_ = 0;
  std::int64_t event_number_ = 0;  // the trace's <event> elements so far
  std::string trace_name_;         // the trace's own concept:name, or empty

  // With sort_by_time: the trace's kept events, whether each of them has a
  // time, and their names once each.
  std::vector<timed_name> pending_;
  bool all_timed_ = true;
  std::vector<std::uint32_t> order_;
  name_numbers sort_names_;

  tally other_lifecycle_;
  tally nameless_;
  file_order_tally file_order_;
};

xes_reader::xes_reader(const read_options& options, event_log& log)
    : options_(options), log_(log), parser_(XML_ParserCreate(nullptr)) {
  // No namespace processing: prefixes are compared away by local_name, and
  // an undeclared prefix is no error. External entities are never loaded
  // (no handler is set), and expat bounds internal entity expansion.
  if (parser_ != nullptr) {
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, on_start, on_end);
  }
  if (options.classifier.empty()) {
    classifier_.push_back(key_number(kNameKey));
  } else {
    for (const std::string& key : options.classifier)
      classifier_.push_back(key_number(key));
  }
  if (!options.lifecycle.empty()) lifecycle_ = key_number(kLifecycleKey);
  time_ = key_number(kTimeKey);
  globals_.reset(keys_.size());
  event_.reset(keys_.size());
}

std::size_t xes_reader::key_number(const std::string& key) {
  const auto found = std::find(keys_.begin(), keys_.end(), key);
  if (found != keys_.end()) return static_cast<std::size_t>(found - keys_.begin());
  keys_.push_back(key);
  return keys_.size() - 1;
}

std::string xes_reader::place() const {
  return "line " + std::to_string(XML_GetCurrentLineNumber(parser_)) + ", column " +
         std::to_string(XML_GetCurrentColumnNumber(parser_) + 1) + ": ";
}

void xes_reader::fail(const std::string& what) {
  if (!failure_.ok()) return;
  failure_ = status(status_code::bad_log, place() + what);
  XML_StopParser(parser_, XML_FALSE);
}

void xes_reader::start_element(const char* name, const char** atts) {
  if (!failure_.ok()) return;
  const int depth = depth_++;
  if (depth >= kMaxDepth) {
    fail("elements nested deeper than " + std::to_string(kMaxDepth));
  } else if (depth == 0) {
    if (!is(name, "log")) {
      // XML names hold no line break; a long one is cut short, between
      // two UTF-8 characters.
      const std::string_view whole(name);
      std::size_t cut = std::min<std::size_t>(whole.size(), 64);
      while (cut < whole.size() && cut > 0 && (whole[cut] & 0xC0) == 0x80) --cut;
      const std::string_view more = cut < whole.size() ? "..." : "";
      fail("not an XES log: the root element is <" + std::string(whole.substr(0, cut)) +
           std::string(more) + ">");
    }
  } else if (depth == 1) {
    if (is(name, "trace")) {
      in_trace_ = true;
      ++trace_number_;
      event_number_ = 0;
      trace_name_.clear();
    } else if (is(name, "global")) {
      // The scope is "event" when not given.
      const char* scope = attribute(atts, "scope");
      in_globals_ = scope == nullptr || std::strcmp(scope, "event") == 0;
    }
  } else if (depth == 2) {
    if (in_trace_ && is(name, "event")) {
      in_event_ = true;
      ++event_number_;
      std::fill(event_.present.begin(), event_.present.end(), 0);
    } else if (in_trace_) {
      const key_value attribute = key_and_value(atts);
      if (attribute.key != nullptr && attribute.value != nullptr &&
          std::strcmp(attribute.key, kNameKey) == 0) {
        trace_name_.assign(attribute.value);
      }
    } else if (in_globals_) {
      record(atts, globals_);
    }
  } else if (depth == 3 && in_event_) {
    record(atts, event_);
  }
}

void xes_reader::end_element() {
  if (!failure_.ok()) return;
  const int depth = --depth_;
  if (depth == 2 && in_event_) {
    in_event_ = false;
    end_event();
  } else if (depth == 1) {
    if (in_trace_) end_trace();
    in_trace_ = false;
    in_globals_ = false;
  }
}

// An attribute element: any element with a key and a value; its type does
// not matter. A later one of the same key replaces an earlier one.
void xes_reader::record(const char** atts, key_values& into) const {
  const auto [key, value] = key_and_value(atts);
  if (key == nullptr || value == nullptr) return;
  for (std::size_t k = 0; k < keys_.size(); ++k) {
    if (std::strcmp(keys_[k].c_str(), key) == 0) {
      into.values[k].assign(value);
      into.present[k] = 1;
      break;  // the keys are distinct
    }
  }
}

// The event's own value of key number `key`, else the global default, else
// null.
const std::string* xes_reader::value(std::size_t key) const {
  if (event_.present[key]) return &event_.values[key];
  if (globals_.present[key]) return &globals_.values[key];
  return nullptr;
}

void xes_reader::end_event() {
  if (lifecycle_) {
    const std::string* transition = value(*lifecycle_);
    if (transition != nullptr &&
        std::none_of(options_.lifecycle.begin(), options_.lifecycle.end(),
                     [&](const std::string& v) {
                       return equal_ignoring_ascii_case(v, *transition);
                     })) {
      other_lifecycle_.add(trace_number_, event_number_);
      return;
    }
  }
  name_.clear();
  bool named = false;
  for (std::size_t i = 0; i < classifier_.size(); ++i) {
    if (i > 0) name_ += '+';
    if (const std::string* part = value(classifier_[i])) {
      name_ += *part;
      named = true;
    }
  }
  if (!named) {
    nameless_.add(trace_number_, event_number_);
    return;
  }
  const std::string* stamp = value(time_);
  const std::optional<instant> time =
      stamp == nullptr ? std::nullopt
                       : parse_timestamp(*stamp, options_.timestamp_format);
  if (!options_.sort_by_time) {
    log_.add_event(name_, time ? microseconds_of(*time) : event_log::no_time);
    return;
  }
  if (!time && all_timed_) {
    all_timed_ = false;
    file_order_.add([&] {
      return "trace " + std::to_string(trace_number_) + ", event " +
             std::to_string(event_number_) + ", " +
             (stamp == nullptr ? std::string("no ") + kTimeKey : "\"" + shown(*stamp) + "\"");
    });
  }
  pending_.emplace_back(time, sort_names_.number(name_));
}

void xes_reader::end_trace() {
  if (options_.sort_by_time) {
    order_.resize(pending_.size());
    std::iota(order_.begin(), order_.end(), 0u);
    if (all_timed_) sort_by_time(order_, pending_);
    for (const std::uint32_t e : order_) {
      log_.add_event(sort_names_[pending_[e].name], pending_[e].log_time());
    }
    pending_.clear();
    all_timed_ = true;
  }
  log_.end_line(trace_name_);
}

status xes_reader::read(input_file& in, read_notes& notes) {
  if (parser_ == nullptr)
    return status(status_code::bad_log, "out of memory reading XML");
  std::size_t fed = 0;
  for (;;) {
    // Expat re-reads an unfinished token from its start with every buffer,
    // so a buffer about as long as the token keeps that linear (up to the
    // bound, not beyond it).
    const std::size_t waiting = fed - static_cast<std::size_t>(std::max<XML_Index>(
                                          XML_GetCurrentByteIndex(parser_), 0));
    if (waiting > kMaxMarkup) {
      return status(status_code::bad_log,
                    place() + "a tag, comment or declaration longer than 16 MiB");
    }
    const std::size_t want =
        std::max(kChunk, std::min(waiting, kMaxMarkup + 1 - waiting));
    void* buffer = XML_GetBuffer(parser_, static_cast<int>(want));
    if (buffer == nullptr)
      return status(status_code::bad_log, "out of memory reading XML");
    const std::size_t got = in.read(static_cast<char*>(buffer), want);
    if (got == 0 && !in.error().ok()) return in.error();
    fed += got;
    if (XML_ParseBuffer(parser_, static_cast<int>(got),
                        got == 0 ? XML_TRUE : XML_FALSE) != XML_STATUS_OK) {
      if (!failure_.ok()) return failure_;
      return status(status_code::bad_log,
                    place() + XML_ErrorString(XML_GetErrorCode(parser_)));
    }
    if (got == 0) break;
  }
  add_notes(notes);
  return status();
}

// "1 event" or "N events".
std::string events(std::int64_t count) {
  return std::to_string(count) + (count == 1 ? " event" : " events");
}

void xes_reader::add_notes(read_notes& notes) const {
  if (other_lifecycle_.count > 0) {
    notes.push_back(events(other_lifecycle_.count) + " of other lifecycle transitions left out");
  }
  if (nameless_.count > 0) {
    notes.push_back(events(nameless_.count) + " without a name left out " + nameless_.place());
  }
  file_order_.note("trace", notes);
}

}  // namespace

status read_xes_log(input_file& in, const read_options& options, event_log& log,
                    read_notes& notes) {
  xes_reader reader(options, log);
  return reader.read(in, notes);
}

#endif  // LOGFSM_HAVE_EXPAT

}  // namespace logfsm
