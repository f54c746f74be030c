// Writing output files completely or not at all (platform file calls).
#ifndef LOGFSM_OUTPUT_FILE_OUTPUT_H_
#define LOGFSM_OUTPUT_FILE_OUTPUT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace logfsm {

// The name of an output file next to the log: stem + "_out_" + k + suffix.
std::string output_file_name(const std::string& stem, std::int32_t k,
                             std::string_view suffix);

// Writes `content` byte for byte to a temporary file in the directory of
// `path`, then renames it over `path`; an existing file keeps its permission
// bits, and a symbolic link keeps pointing to the replaced file. Returns
// false, leaving any existing file at `path` untouched and no temporary file
// behind, when any step fails or when `path` exists and is not a writable
// regular file (or a link to one).
bool write_file_atomically(const std::string& path, std::string_view content);

}  // namespace logfsm

#endif  // LOGFSM_OUTPUT_FILE_OUTPUT_H_
