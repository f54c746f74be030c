// The lines of an input, one at a time, however its reads are cut.
#ifndef LOGFSM_READERS_LINE_READER_H_
#define LOGFSM_READERS_LINE_READER_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "readers/input_file.h"

namespace logfsm {

class line_reader {
 public:
  // Lines end at LF; with `cr_ends_line` also at CR LF (as one end) and at
  // a lone CR.
  explicit line_reader(input_file& in, bool cr_ends_line = false)
      : in_(in), cr_ends_line_(cr_ends_line) {}

  // The next line without its end, valid until the next call; the last
  // line needs no end. False at the end of the input or when reading fails
  // (in.error() tells); a line cut short by a failed read is not handed out.
  bool next(std::string_view& line);

  // The number of the line last handed out, counting from 1.
  std::size_t line_number() const { return number_; }

 private:
  // Reads more into the buffer; false when nothing more comes.
  bool fill();

  input_file& in_;
  bool cr_ends_line_;
  std::string buffer_;
  std::size_t start_ = 0;  // where the next line starts in buffer_
  bool at_end_ = false;
  std::size_t number_ = 0;
};

}  // namespace logfsm

#endif  // LOGFSM_READERS_LINE_READER_H_
