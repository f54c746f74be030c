// The bytes of an input file, gzip-compressed or not (platform and zlib
// calls). Every log reader reads through it, so that each format reads
// compressed files too.
#ifndef LOGFSM_READERS_INPUT_FILE_H_
#define LOGFSM_READERS_INPUT_FILE_H_

#include <cstddef>
#include <cstdio>
#include <istream>
#include <string>
#include <vector>

#include "base/status.h"

namespace logfsm {

class input_file {
 public:
  // Nothing to read until open().
  input_file() = default;
  // Reads `in` as it is (nothing decompressed); `in` must outlive this.
  explicit input_file(std::istream& in) : stream_(&in) {}
  ~input_file();
  input_file(const input_file&) = delete;
  input_file& operator=(const input_file&) = delete;

  // Opens the file `name` exactly as given, in binary mode. Input that
  // starts with the gzip magic bytes is decompressed as it is read, member
  // after member (in a build without zlib it fails to read). Fails with
  // cannot_read "No such file." when it cannot be opened or is a directory.
  status open(const std::string& name);

  // Reads up to `size` bytes into `buffer`; 0 at the end of the input or on
  // an error (then error() says which). Reading after that returns 0.
  std::size_t read(char* buffer, std::size_t size);

  // After read() returned 0: success at a clean end; else cannot_read
  // "cannot read" for a failing device, or bad_log for a compressed stream
  // that is truncated or corrupt ("gzip: unexpected end of file").
  const status& error() const { return error_; }

  // Closes the file; error() stays.
  void close();

 private:
  // Reads raw bytes: from the file or the stream; 0 at the end or on an
  // error (error_ set).
  std::size_t read_raw(char* buffer, std::size_t size);
  // Reads up to `size` decompressed bytes (compressed input only).
  std::size_t inflate_into(char* buffer, std::size_t size);

  std::FILE* file_ = nullptr;
  std::istream* stream_ = nullptr;
  status error_;
  bool done_ = false;
  // Compressed input: the inflater (a z_stream when zlib is present) and the
  // raw bytes not yet inflated.
  void* inflater_ = nullptr;
  std::vector<char> raw_;
  std::size_t raw_begin_ = 0, raw_end_ = 0;
  bool raw_done_ = false;
};

// True when this build can read gzip-compressed files.
bool reads_gzip();

}  // namespace logfsm

#endif  // LOGFSM_READERS_INPUT_FILE_H_
