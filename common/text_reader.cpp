// Sequential text files are read in large blocks; a record is a view into the
// block up to the next LF, so reading a line costs no copy and no allocation.
// A CR before the LF is dropped (files written here end records with CR LF,
// files from elsewhere often with LF alone).
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "common/read_statement.hpp"
#include "common/records.hpp"
#include "common/report.hpp"
#include "common/run_files.hpp"

namespace rec {
namespace {

constexpr std::size_t kBlock = std::size_t{1} << 16;
// No file of the system holds a record of a mebibyte (the widest table rows,
// a kernel row per path segment, are a few thousand characters): a longer
// one is no file of this system, and reading on would only grow the buffer.
constexpr std::size_t kLongestRecord = std::size_t{1} << 20;

}  // namespace

TextReader::TextReader(const std::string& path) : path_(path) {
  file_ = open_input(path);
  if (!file_) throw RecordError(open_report(path, errno));
}

TextReader::~TextReader() { close(); }

TextReader::TextReader(TextReader&& other) noexcept
    : path_(std::move(other.path_)),
      file_(other.file_),
      recno_(other.recno_),
      line_(std::move(other.line_)),
      buffer_(std::move(other.buffer_)),
      head_(other.head_),
      tail_(other.tail_),
      eof_(other.eof_),
      first_row_(other.first_row_),
      row_length_(other.row_length_) {
  other.file_ = nullptr;
}

TextReader& TextReader::operator=(TextReader&& other) noexcept {
  if (this != &other) {
    close();
    path_ = std::move(other.path_);
    file_ = other.file_;
    recno_ = other.recno_;
    line_ = std::move(other.line_);
    buffer_ = std::move(other.buffer_);
    head_ = other.head_;
    tail_ = other.tail_;
    eof_ = other.eof_;
    first_row_ = other.first_row_;
    row_length_ = other.row_length_;
    other.file_ = nullptr;
  }
  return *this;
}

void TextReader::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  eof_ = true;
  head_ = tail_ = 0;
}

bool TextReader::fetch_view(std::string_view& rec) {
  for (;;) {
    char* begin = buffer_.data() + head_;
    std::size_t available = tail_ - head_;
    if (const void* lf = std::memchr(begin, '\n', available)) {
      std::size_t length = static_cast<std::size_t>(static_cast<const char*>(lf) - begin);
      head_ += length + 1;
      if (length > 0 && begin[length - 1] == '\r') --length;
      rec = std::string_view(begin, length);
      ++recno_;
      return true;
    }
    if (eof_ || !file_) {
      if (available == 0) return false;
      head_ = tail_;  // a last line without terminator is still a record
      if (begin[available - 1] == '\r') --available;
      rec = std::string_view(begin, available);
      ++recno_;
      if (first_row_ > 0 && recno_ >= first_row_ && available < row_length_) {
        throw RecordError(" Record " + std::to_string(recno_) + " of " + path_ + " is cut short: it ends after " +
                          std::to_string(available) + " of its " + std::to_string(row_length_) +
                          " characters without a line end");
      }
      return true;
    }
    if (available > kLongestRecord) {
      throw RecordError(" Record " + std::to_string(recno_ + 1) + " of " + path_ + " is longer than " +
                        std::to_string(kLongestRecord) + " characters: not a text file of this system");
    }
    // Keep the partial record, make room behind it and read the next block.
    if (head_ > 0) {
      std::memmove(buffer_.data(), buffer_.data() + head_, available);
      head_ = 0;
      tail_ = available;
    }
    if (buffer_.size() < tail_ + kBlock) buffer_.resize(tail_ + kBlock);
    std::size_t got = std::fread(buffer_.data() + tail_, 1, buffer_.size() - tail_, file_);
    if (got == 0) {
      if (std::ferror(file_)) throw RecordError(" Cannot read file " + path_ + ": " + std::strerror(errno));
      eof_ = true;
    }
    tail_ += got;
  }
}

bool TextReader::fetch(std::string& rec) {
  std::string_view view;
  if (!fetch_view(view)) return false;
  rec.assign(view);
  return true;
}

ReadStatus TextReader::next_record(std::string& rec) { return fetch(rec) ? ReadStatus::ok : ReadStatus::end; }

void TextReader::expect_rows(int first_row, std::size_t row_length) {
  first_row_ = first_row;
  row_length_ = row_length;
}

namespace {

// Lets the read statements take records from a TextReader.
template <class Fetch>
class ReaderSource final : public RecordSource {
 public:
  ReaderSource(Fetch fetch, const std::string& path, const int& recno) : fetch_(fetch), path_(path), recno_(recno) {}
  bool next(std::string_view& record) override { return fetch_(record); }
  Where where() const override { return Where{path_, recno_}; }

 private:
  Fetch fetch_;
  const std::string& path_;
  const int& recno_;
};

}  // namespace

ReadStatus TextReader::read(const Format& fmt, std::initializer_list<InItem> items) {
  return read(fmt, std::span<const InItem>(items.begin(), items.size()));
}

ReadStatus TextReader::read(const Format& fmt, std::span<const InItem> items) {
  auto fetch = [this](std::string_view& r) { return fetch_view(r); };
  ReaderSource<decltype(fetch)> source(fetch, path_, recno_);
  return read_formatted(fmt, items, source);
}

ReadStatus TextReader::read_free(std::initializer_list<InItem> items) {
  return read_free(std::span<const InItem>(items.begin(), items.size()));
}

ReadStatus TextReader::read_free(std::span<const InItem> items) {
  auto fetch = [this](std::string_view& r) { return fetch_view(r); };
  ReaderSource<decltype(fetch)> source(fetch, path_, recno_);
  return read_free_form(items, source);
}

}  // namespace rec
