// Files of fixed-length records (the line list) are searched by bisection and
// then read over a range of consecutive records, so records are fetched in
// blocks of whole records and served from the block while they lie inside it.
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "common/read_statement.hpp"
#include "common/records.hpp"
#include "common/report.hpp"
#include "common/run_files.hpp"

namespace rec {
namespace {

constexpr long long kBlockBytes = 1 << 15;

// The record without its line terminator: the terminator is not data.
std::string_view without_terminator(std::string_view record) {
  while (!record.empty() && (record.back() == '\n' || record.back() == '\r')) record.remove_suffix(1);
  return record;
}

}  // namespace

DirectFile::DirectFile(const std::string& path, int reclen) : path_(path), reclen_(reclen) {
  if (reclen <= 0) throw std::invalid_argument("record length of " + path + " must be positive");
  file_ = open_input(path);
  if (!file_) throw RecordError(open_report(path, errno));
  if (std::fseek(file_, 0, SEEK_END) != 0 || (size_ = std::ftell(file_)) < 0) {
    int error = errno;
    std::fclose(file_);
    file_ = nullptr;
    throw RecordError(" Cannot read file " + path + ": " + std::strerror(error));
  }
}

DirectFile::~DirectFile() { close(); }

DirectFile::DirectFile(DirectFile&& other) noexcept
    : path_(std::move(other.path_)),
      file_(other.file_),
      reclen_(other.reclen_),
      size_(other.size_),
      buf_(std::move(other.buf_)),
      buf_first_(other.buf_first_) {
  other.file_ = nullptr;
  other.buf_.clear();
}

DirectFile& DirectFile::operator=(DirectFile&& other) noexcept {
  if (this != &other) {
    close();
    path_ = std::move(other.path_);
    file_ = other.file_;
    reclen_ = other.reclen_;
    size_ = other.size_;
    buf_ = std::move(other.buf_);
    buf_first_ = other.buf_first_;
    other.file_ = nullptr;
    other.buf_.clear();
  }
  return *this;
}

void DirectFile::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  buf_.clear();
}

long long DirectFile::records_in_file() const { return (size_ + reclen_ - 1) / reclen_; }

std::string_view DirectFile::record(int recno) {
  if (!file_) throw std::logic_error("read from the closed file " + path_);
  long long held = records_in_file();
  if (recno < 1 || recno > held) {
    throw RecordError(" Record " + std::to_string(recno) + " of " + path_ + " does not exist: the file holds " +
                      std::to_string(held) + " records of " + std::to_string(reclen_) + " characters");
  }
  long long offset = static_cast<long long>(recno - 1) * reclen_;
  long long buf_end = buf_first_ + static_cast<long long>(buf_.size());
  if (offset < buf_first_ || offset + reclen_ > buf_end) {
    long long per_block = kBlockBytes / reclen_ > 0 ? kBlockBytes / reclen_ : 1;
    long long want = per_block * reclen_;
    if (want > size_ - offset) want = size_ - offset;
    buf_.resize(static_cast<std::size_t>(want));
    if (std::fseek(file_, offset, SEEK_SET) != 0 ||
        std::fread(buf_.data(), 1, buf_.size(), file_) != buf_.size()) {
      buf_.clear();
      throw RecordError(" Cannot read record " + std::to_string(recno) + " of " + path_ + ": " +
                        std::strerror(errno));
    }
    buf_first_ = offset;
    // A last record cut short reads as if padded with blanks.
    long long partial = want % reclen_;
    if (partial != 0) buf_.append(static_cast<std::size_t>(reclen_ - partial), ' ');
  }
  return std::string_view(buf_).substr(static_cast<std::size_t>(offset - buf_first_),
                                       static_cast<std::size_t>(reclen_));
}

namespace {

class DirectSource final : public RecordSource {
 public:
  DirectSource(DirectFile& file, int first) : file_(file), next_(first) {}
  bool next(std::string_view& record) override {
    current_ = next_++;
    record = without_terminator(file_.record(current_));
    return true;
  }
  Where where() const override { return Where{file_.path(), current_}; }

 private:
  DirectFile& file_;
  int next_;
  int current_ = 0;
};

}  // namespace

void DirectFile::read(int recno, const Format& fmt, std::initializer_list<InItem> items) {
  read(recno, fmt, std::span<const InItem>(items.begin(), items.size()));
}

void DirectFile::read(int recno, const Format& fmt, std::span<const InItem> items) {
  DirectSource source(*this, recno);
  read_formatted(fmt, items, source);
}

}  // namespace rec
