#include "readers/input_file.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <filesystem>
#include <system_error>

#ifdef LOGFSM_HAVE_ZLIB
#include <zlib.h>
#endif

namespace logfsm {
input_file::~input_file() { close(); }

bool reads_gzip() {
#ifdef LOGFSM_HAVE_ZLIB
  return true;
#else
  return false;
#endif
}

status input_file::open(const std::string& name) {
  close();
  error_ = status();
  done_ = false;
  std::error_code ec;
  if (name.empty() || std::filesystem::is_directory(name, ec)) {
    return status(status_code::cannot_read, "No such file.");
  }
#ifdef LOGFSM_HAVE_ZLIB
  // gzread reads a file without the gzip header byte for byte.
  gzFile gz = gzopen(name.c_str(), "rb");
  if (gz == nullptr) return status(status_code::cannot_read, "No such file.");
  gzbuffer(gz, 1 << 17);
  gz_ = gz;
#else
  file_.open(name, std::ios::in | std::ios::binary);
  if (!file_.is_open()) return status(status_code::cannot_read, "No such file.");
  stream_ = &file_;
  // The gzip magic bytes.
  if (file_.peek() == 0x1f) {
    file_.get();
    if (file_.peek() == 0x8b) {
      error_ = status(status_code::bad_log,
                      "the file is gzip-compressed, and this build reads no gzip files");
      done_ = true;
    }
    file_.seekg(0);
  }
#endif
  return status();
}

std::size_t input_file::read(char* buffer, std::size_t size) {
  if (done_ || size == 0) return 0;
  std::size_t got = 0;
#ifdef LOGFSM_HAVE_ZLIB
  if (gz_ != nullptr) {
    gzFile gz = static_cast<gzFile>(gz_);
    const unsigned ask = size > INT_MAX ? INT_MAX : static_cast<unsigned>(size);
    const int n = gzread(gz, buffer, ask);
    if (n > 0) return static_cast<std::size_t>(n);
    int code = Z_OK;
    const char* message = gzerror(gz, &code);
    done_ = true;
    if (code == Z_ERRNO) {
      error_ = status(status_code::cannot_read, "cannot read");
    } else if (code != Z_OK) {
      // zlib puts the file's name before its message.
      std::string_view what = message;
      if (const std::size_t colon = what.rfind(": "); colon != std::string_view::npos) {
        what.remove_prefix(colon + 2);
      }
      error_ = status(status_code::bad_log, "gzip: " + std::string(what));
    }
    return 0;
  }
#endif
  if (stream_ == nullptr) {
    done_ = true;
    return 0;
  }
  // Straight from the stream buffer, a get area at a time, so that the bytes
  // before a failing read are handed out too.
  std::streambuf* buffer_of = stream_->rdbuf();
  try {
    while (got < size) {
      const std::streamsize available = buffer_of->in_avail();
      if (available <= 0) {
        if (got > 0) break;
        if (std::streambuf::traits_type::eq_int_type(buffer_of->sgetc(),
                                                    std::streambuf::traits_type::eof())) {
          done_ = true;
          break;
        }
        continue;
      }
      const std::size_t n = std::min(size - got, static_cast<std::size_t>(available));
      got += static_cast<std::size_t>(
          buffer_of->sgetn(buffer + got, static_cast<std::streamsize>(n)));
    }
  } catch (...) {
    done_ = true;
    error_ = status(status_code::cannot_read, "cannot read");
  }
  return got;
}

void input_file::close() {
#ifdef LOGFSM_HAVE_ZLIB
  if (gz_ != nullptr) gzclose(static_cast<gzFile>(gz_));
#endif
  gz_ = nullptr;
  if (file_.is_open()) file_.close();
  if (stream_ == &file_) stream_ = nullptr;
  done_ = true;
}

}  // namespace logfsm
