#include "readers/input_file.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

#ifdef LOGFSM_HAVE_ZLIB
#include <zlib.h>
#endif

namespace logfsm {
namespace {

constexpr std::size_t kRawChunk = std::size_t{1} << 16;

}  // namespace

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
  file_ = std::fopen(name.c_str(), "rb");
  if (file_ == nullptr) return status(status_code::cannot_read, "No such file.");
  // The first two bytes tell whether the input is gzip-compressed; they
  // stay in raw_ either way, so pipes work too.
  raw_.resize(kRawChunk);
  raw_begin_ = raw_end_ = 0;
  raw_done_ = false;
  while (raw_end_ < 2 && !raw_done_) {
    const std::size_t got = read_raw(raw_.data() + raw_end_, 2 - raw_end_);
    if (got == 0) raw_done_ = true;
    raw_end_ += got;
  }
  if (!error_.ok()) return status();  // read() reports it
  if (raw_end_ < 2 || static_cast<unsigned char>(raw_[0]) != 0x1f ||
      static_cast<unsigned char>(raw_[1]) != 0x8b) {
    return status();
  }
#ifdef LOGFSM_HAVE_ZLIB
  auto* z = new z_stream{};
  // 15 + 16: a window of 32 KiB, gzip headers only.
  if (inflateInit2(z, 15 + 16) != Z_OK) {
    delete z;
    error_ = status(status_code::bad_log, "gzip: cannot start decompressing");
    done_ = true;
    return status();
  }
  inflater_ = z;
#else
  error_ = status(status_code::bad_log,
                  "the file is gzip-compressed, and this build reads no gzip files");
  done_ = true;
#endif
  return status();
}

std::size_t input_file::read_raw(char* buffer, std::size_t size) {
  if (file_ != nullptr) {
    const std::size_t got = std::fread(buffer, 1, size, file_);
    if (got == 0 && std::ferror(file_)) error_ = status(status_code::cannot_read, "cannot read");
    return got;
  }
  if (stream_ == nullptr) return 0;
  // Straight from the stream buffer, a get area at a time, so that the
  // bytes before a failing read are handed out too.
  std::streambuf* from = stream_->rdbuf();
  std::size_t got = 0;
  try {
    while (got < size) {
      const std::streamsize available = from->in_avail();
      if (available <= 0) {
        if (got > 0) break;
        if (std::streambuf::traits_type::eq_int_type(from->sgetc(),
                                                    std::streambuf::traits_type::eof())) {
          break;
        }
        continue;
      }
      const std::size_t n = std::min(size - got, static_cast<std::size_t>(available));
      got += static_cast<std::size_t>(from->sgetn(buffer + got, static_cast<std::streamsize>(n)));
    }
  } catch (...) {
    error_ = status(status_code::cannot_read, "cannot read");
  }
  return got;
}

std::size_t input_file::read(char* buffer, std::size_t size) {
  if (done_ || size == 0) return 0;
  std::size_t got = 0;
  if (inflater_ != nullptr) {
    got = inflate_into(buffer, size);
  } else if (raw_begin_ < raw_end_) {
    // The bytes read to look for the gzip magic come first.
    got = std::min(size, raw_end_ - raw_begin_);
    std::memcpy(buffer, raw_.data() + raw_begin_, got);
    raw_begin_ += got;
  } else if (error_.ok() && !raw_done_) {
    got = read_raw(buffer, size);
  }
  if (got == 0) done_ = true;
  return got;
}

std::size_t input_file::inflate_into(char* buffer, std::size_t size) {
#ifdef LOGFSM_HAVE_ZLIB
  auto* z = static_cast<z_stream*>(inflater_);
  const auto room = static_cast<uInt>(std::min<std::size_t>(size, UINT_MAX));
  z->next_out = reinterpret_cast<Bytef*>(buffer);
  z->avail_out = room;
  bool finished = false;
  while (z->avail_out > 0) {
    if (raw_begin_ == raw_end_) {
      if (raw_done_) {
        // The input ended inside a member (unless reading it failed, which
        // error_ already says).
        if (error_.ok()) error_ = status(status_code::bad_log, "gzip: unexpected end of file");
        break;
      }
      raw_begin_ = 0;
      raw_end_ = read_raw(raw_.data(), raw_.size());
      raw_done_ = raw_end_ == 0;
      continue;
    }
    z->next_in = reinterpret_cast<Bytef*>(raw_.data() + raw_begin_);
    z->avail_in = static_cast<uInt>(raw_end_ - raw_begin_);
    const int result = inflate(z, Z_NO_FLUSH);
    raw_begin_ = raw_end_ - z->avail_in;
    if (result == Z_STREAM_END) {
      // Another member may follow, as gzip writes them; bytes that do not
      // start one are ignored, as gzip ignores them.
      if (raw_begin_ == raw_end_ && !raw_done_) {
        raw_begin_ = 0;
        raw_end_ = read_raw(raw_.data(), raw_.size());
        raw_done_ = raw_end_ == 0;
      }
      if (raw_begin_ == raw_end_ || static_cast<unsigned char>(raw_[raw_begin_]) != 0x1f) {
        finished = true;
        break;
      }
      inflateReset(z);
      continue;
    }
    if (result != Z_OK && result != Z_BUF_ERROR) {
      error_ = status(status_code::bad_log,
                      std::string("gzip: ") + (z->msg != nullptr ? z->msg : "corrupt data"));
      break;
    }
  }
  const std::size_t produced = room - z->avail_out;
  if (finished) {
    inflateEnd(z);
    delete z;
    inflater_ = nullptr;
    raw_begin_ = raw_end_ = 0;
    raw_done_ = true;
    // What follows the last member is not read.
    if (file_ != nullptr) {
      std::fclose(file_);
      file_ = nullptr;
    }
    stream_ = nullptr;
  }
  return produced;
#else
  (void)buffer;
  (void)size;
  return 0;
#endif
}

void input_file::close() {
#ifdef LOGFSM_HAVE_ZLIB
  if (inflater_ != nullptr) {
    inflateEnd(static_cast<z_stream*>(inflater_));
    delete static_cast<z_stream*>(inflater_);
  }
#endif
  inflater_ = nullptr;
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  stream_ = nullptr;
  done_ = true;
}

}  // namespace logfsm
