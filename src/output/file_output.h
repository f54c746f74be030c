// Writing output files completely or not at all (platform file calls), and
// devices and FIFOs directly.
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
//
// A `path` that names (through links, as /dev/stdout does) an existing file
// that is neither a regular file nor a directory, such as a device (/dev/null,
// a terminal) or a FIFO, cannot be replaced: it is opened and written
// directly, which waits for a FIFO's reader, and a failure (the same
// message) may come after part of `content` was taken. A name of one of the
// program's open streams (/dev/stdout, /dev/stderr, /dev/fd/N,
// /proc/self/fd/N) is written through that stream, at its offset: standard
// output appended to a file keeps what the file held.
status write_file_atomically(const std::string& path, std::string_view content);

}  // namespace logfsm

#endif  // LOGFSM_OUTPUT_FILE_OUTPUT_H_
