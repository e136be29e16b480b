// Sequential text files are written through a buffer of whole records that is
// handed to the file in large blocks: the spectrum tables hold millions of
// values, so a record must cost no system call of its own.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "common/records.hpp"
#include "common/report.hpp"
#include "common/run_files.hpp"

namespace rec {
namespace {

constexpr std::size_t kFlushAt = std::size_t{1} << 16;
constexpr std::string_view kTerminator = "\r\n";

}  // namespace

// Within a run the file is written under its temporary name (run_files.hpp);
// the temporary is created anew, never through a link left in its place.
TextWriter::TextWriter(const std::string& path) : path_(path) {
  if (RunFiles* files = current_run_files()) {
    const std::string staged = files->stage(path);
    int fd = ::open(staged.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      file_ = ::fdopen(fd, "wb");
      if (!file_) ::close(fd);
    }
    if (!file_) {
      int error = errno;
      files->closed(path, false);
      throw RecordError(create_report(path, error));
    }
  } else {
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) throw RecordError(create_report(path, errno));
  }
  buffer_.reserve(kFlushAt + 1024);
}

// A destructor cannot report; callers that must know the file is complete call
// close() themselves.
TextWriter::~TextWriter() {
  try {
    close();
  } catch (const RecordError&) {
  }
}

TextWriter::TextWriter(TextWriter&& other) noexcept
    : path_(std::move(other.path_)),
      file_(other.file_),
      pending_(std::move(other.pending_)),
      has_pending_(other.has_pending_),
      scratch_(std::move(other.scratch_)),
      buffer_(std::move(other.buffer_)) {
  other.file_ = nullptr;
  other.has_pending_ = false;
}

TextWriter& TextWriter::operator=(TextWriter&& other) noexcept {
  if (this != &other) {
    try {
      close();
    } catch (const RecordError&) {
    }
    path_ = std::move(other.path_);
    file_ = other.file_;
    pending_ = std::move(other.pending_);
    has_pending_ = other.has_pending_;
    scratch_ = std::move(other.scratch_);
    buffer_ = std::move(other.buffer_);
    other.file_ = nullptr;
    other.has_pending_ = false;
  }
  return *this;
}

void TextWriter::flush_buffer() {
  if (buffer_.empty()) return;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
    throw RecordError(write_report(path_, errno));
  }
  buffer_.clear();
}

void TextWriter::put(std::string_view rec) {
  if (!file_) throw std::logic_error("write to the closed file " + path_);
  if (has_pending_) {
    buffer_.append(pending_);
    pending_.clear();
    has_pending_ = false;
  }
  buffer_.append(rec);
  buffer_.append(kTerminator);
  if (buffer_.size() >= kFlushAt) flush_buffer();
}

void TextWriter::write(const Format& fmt, std::initializer_list<OutItem> items) {
  write(fmt, std::span<const OutItem>(items.begin(), items.size()));
}

void TextWriter::write(const Format& fmt, std::span<const OutItem> items) {
  encode(fmt, items, scratch_);
  std::size_t n = scratch_.records.size();
  std::size_t whole = scratch_.pending ? n - 1 : n;
  for (std::size_t k = 0; k < whole; ++k) put(scratch_.records[k]);
  if (scratch_.pending) {
    if (!file_) throw std::logic_error("write to the closed file " + path_);
    pending_.append(scratch_.records[n - 1]);
    has_pending_ = true;
  }
}

void TextWriter::write_free(std::initializer_list<OutItem> items) { put(encode_free(items)); }
void TextWriter::write_free(std::span<const OutItem> items) { put(encode_free(items)); }

void TextWriter::record(std::string_view rec) { put(rec); }

void TextWriter::close() {
  if (!file_) return;
  std::FILE* file = file_;
  try {
    if (has_pending_) put({});
    flush_buffer();
  } catch (const RecordError&) {
    std::fclose(file);
    file_ = nullptr;
    if (RunFiles* files = current_run_files()) files->closed(path_, false);
    throw;
  }
  file_ = nullptr;
  const bool ok = std::fclose(file) == 0;
  const int error = errno;
  if (RunFiles* files = current_run_files()) files->closed(path_, ok);
  if (!ok) throw RecordError(write_report(path_, error));
}

}  // namespace rec
