// Writing output files completely or not at all (platform file calls).
#ifndef LOGFSM_OUTPUT_FILE_OUTPUT_H_
#define LOGFSM_OUTPUT_FILE_OUTPUT_H_

#include <string>
#include <string_view>

#include "base/status.h"

namespace logfsm {

// Writes `content` byte for byte to a temporary file in the directory of
// `path`, then renames it over `path`; an existing file keeps its permission
// bits, and a symbolic link keeps pointing to the replaced file. Fails with
// cannot_write "Cannot write output file: PATH", leaving any existing file
// at `path` untouched and no temporary file behind, when any step fails or
// when `path` exists and is not a writable regular file (or a link to one).
status write_file_atomically(const std::string& path, std::string_view content);

}  // namespace logfsm

#endif  // LOGFSM_OUTPUT_FILE_OUTPUT_H_
