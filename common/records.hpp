// Fixed-column text records: every file and console line of both programs is
// written and read through a format string such as "(1x,a7,1x,i3,1x,3(f9.3,4x))".
// A Format is parsed once, as a constant at namespace scope of the file that
// uses it, and reused by every call; the writers and readers below apply it to
// the console (first column is carriage control), to sequential text files
// (records end with CR LF), to fixed-length-record files opened for direct
// access, and to in-memory strings (internal records).
#pragma once

#include <cstdio>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/stop.hpp"

namespace rec {

// A parsed format string. Construction throws std::invalid_argument for a
// malformed format: every format of the system is a constant, so that is a bug.
class Format {
 public:
  explicit Format(std::string_view text);
  ~Format();
  Format(const Format&);
  Format& operator=(const Format&);
  Format(Format&&) noexcept;
  Format& operator=(Format&&) noexcept;

  const std::string& text() const;
  struct Impl;
  const Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

// An item written by a statement. float and double are edited with 7 and 16
// significant digits respectively; a string_view is a character item of its
// full length, trailing blanks included.
using OutItem = std::variant<int, float, double, std::string_view>;

// An item filled by a read. A character item's declared length is the current
// size() of the string; the caller sizes it (std::string(200, ' ')).
//
// Every statement below takes its items as a braced list or, when their number
// is known only at run time, as a std::span over an array of items.
using InItem = std::variant<int*, float*, double*, std::string*>;

// End of data is a result, never an exception.
enum class ReadStatus { ok, end };

// Where an internal record came from, so that a report can name the file and
// record the text was read from (the deck line parsed after it was read whole).
// first_column is the column of the file record where the internal record
// starts (a deck line whose columns 2 to 15 are read alone), so that a report
// gives the columns of the file.
struct Where {
  std::string_view file;
  int record = 0;
  int first_column = 1;
};

// Lays out one write statement: the records it produces, and whether it ended
// on "$" (the last record is left open). Used by every target below. Reuses
// the strings already in `out`. Throws std::invalid_argument for an item of the
// wrong kind for its descriptor (a bug); never touches a file or the console.
struct Encoded {
  std::vector<std::string> records;
  bool pending = false;
};
void encode(const Format& fmt, std::initializer_list<OutItem> items, Encoded& out);
void encode(const Format& fmt, std::span<const OutItem> items, Encoded& out);

// Free-form output: one record that starts with a blank, then the items; a
// statement without items is an empty record. Character items are copied as
// they are; a number is its digits (a real its 7 or 16 significant digits,
// trailing zeros dropped, e.g. "0.25", "1.5E+20") kept apart from its
// neighbours by one blank: " Program requires approx. ", 141, " Mbytes" gives
// "  Program requires approx. 141 Mbytes".
std::string encode_free(std::initializer_list<OutItem> items);
std::string encode_free(std::span<const OutItem> items);

// Standard output with the first-column convention: blank starts a new line,
// "0" leaves one empty line, "1" starts a new page, "+" overprints. The line
// terminator (CR LF) is written before a record, not after it.
class Console {
 public:
  explicit Console(std::ostream& out);
  void write(const Format& fmt, std::initializer_list<OutItem> items = {});
  void write(const Format& fmt, std::span<const OutItem> items);
  void write_free(std::initializer_list<OutItem> items = {});
  void write_free(std::span<const OutItem> items);
  // A record whose first character is carriage control, as a format would make it.
  void record(std::string_view rec);
  // A stop message or the run-end line: shown verbatim on a line of its own
  // (a line open before it, a "$" prompt included, is ended first).
  void message(std::string_view text);
  // Ends a pending console line with CR LF (run end).
  void finish();

 private:
  std::ostream& out_;
  bool first_ = true;    // no line is open: start of the run, or after finish()
  bool prompt_ = false;  // the open line ends with a "$" prompt
  Encoded scratch_;
};

// A sequential text file opened new-or-existing ("UNKNOWN"): truncated on open,
// every record written whole and ended with CR LF. Buffered; throws RecordError
// when the file cannot be created or written.
class TextWriter {
 public:
  explicit TextWriter(const std::string& path);
  ~TextWriter();
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;
  TextWriter(TextWriter&&) noexcept;
  TextWriter& operator=(TextWriter&&) noexcept;

  void write(const Format& fmt, std::initializer_list<OutItem> items = {});
  void write(const Format& fmt, std::span<const OutItem> items);
  void write_free(std::initializer_list<OutItem> items = {});
  void write_free(std::span<const OutItem> items);
  void record(std::string_view rec);  // one whole record, as is
  void close();                       // flushes; a pending "$" record is ended
  const std::string& path() const { return path_; }

 private:
  void put(std::string_view rec);
  void flush_buffer();
  std::string path_;
  std::FILE* file_ = nullptr;
  std::string pending_;  // the open record of a write that ended on "$"
  bool has_pending_ = false;
  Encoded scratch_;
  std::string buffer_;  // whole records not yet handed to the file
};

// A sequential text file opened as existing ("OLD"); throws RecordError when it
// is missing. Records end at LF; a CR before it is dropped. Every read starts
// at a new record. An unreadable field throws RecordError naming the file,
// record number, columns and the text found.
class TextReader {
 public:
  explicit TextReader(const std::string& path);
  ~TextReader();
  TextReader(const TextReader&) = delete;
  TextReader& operator=(const TextReader&) = delete;
  TextReader(TextReader&&) noexcept;
  TextReader& operator=(TextReader&&) noexcept;

  ReadStatus read(const Format& fmt, std::initializer_list<InItem> items);
  ReadStatus read(const Format& fmt, std::span<const InItem> items);
  // Free-form read: takes as many records as its items need; the rest of the
  // last record is skipped. With no items it skips one record. Values are
  // separated by blanks, a comma or the end of a record; an empty value between
  // two commas leaves its item unchanged; character values are words or text
  // in apostrophes, cut or padded to the item's length.
  ReadStatus read_free(std::initializer_list<InItem> items = {});
  ReadStatus read_free(std::span<const InItem> items);
  // The next whole record (without terminator), or end.
  ReadStatus next_record(std::string& rec);
  int record_number() const { return recno_; }  // records consumed so far
  const std::string& path() const { return path_; }
  // Declares the rows of a table: from record `first_row` on, every record
  // is written `row_length` characters wide. From then on a last record that
  // has no line end and fewer characters (its CR not counted) is refused as it
  // is read, before any value of it: a file cut in the middle of that record
  // (a run killed while writing it, a full disk). The RecordError names the
  // file and the record. A last record of full length without a line end is
  // whole.
  void expect_rows(int first_row, std::size_t row_length);
  void close();

 private:
  bool fetch(std::string& rec);
  bool fetch_view(std::string_view& rec);  // valid until the next fetch
  std::string path_;
  std::FILE* file_ = nullptr;
  int recno_ = 0;
  std::string line_;
  std::string buffer_;      // bytes read from the file
  std::size_t head_ = 0;    // start of the next record in buffer_
  std::size_t tail_ = 0;    // end of the bytes read
  bool eof_ = false;
  int first_row_ = 0;           // of expect_rows; 0: no rows declared
  std::size_t row_length_ = 0;
};

// A file of fixed-length records opened for direct access, status "OLD".
// Record n starts at byte (n - 1) * reclen; reclen includes the terminator.
// A last record cut short (a file whose last line lacks its terminator) is
// read as if padded with blanks. Throws RecordError for a missing file, a
// record beyond the end (the report gives the number the file holds), or an
// unreadable field.
class DirectFile {
 public:
  DirectFile(const std::string& path, int reclen);
  ~DirectFile();
  DirectFile(const DirectFile&) = delete;
  DirectFile& operator=(const DirectFile&) = delete;
  DirectFile(DirectFile&&) noexcept;
  DirectFile& operator=(DirectFile&&) noexcept;

  // The record without its line terminator is read with `fmt`; a "/" moves on
  // to record recno + 1.
  void read(int recno, const Format& fmt, std::initializer_list<InItem> items);
  void read(int recno, const Format& fmt, std::span<const InItem> items);
  // The raw characters of record `recno` (reclen of them, terminator included),
  // valid until the next call. For dedicated fixed-width decoders.
  std::string_view record(int recno);
  int reclen() const { return reclen_; }
  long long records_in_file() const;  // records the file holds, a cut-short last one included
  const std::string& path() const { return path_; }
  void close();

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  int reclen_ = 0;
  long long size_ = 0;
  std::string buf_;          // a run of whole records read at once
  long long buf_first_ = 0;  // file offset of buf_[0]
};

// Internal records. A write fills `target` from its first character and pads
// the rest with blanks (its size is the record length); extra records of the
// statement, or a record longer than `target`, are an error (RecordError). A
// read treats `record` as one record; a format that needs another record, or
// an unreadable field, throws RecordError naming `where`.
void write_internal(std::string& target, const Format& fmt, std::initializer_list<OutItem> items);
void write_internal(std::string& target, const Format& fmt, std::span<const OutItem> items);
void read_internal(std::string_view record, const Format& fmt, std::initializer_list<InItem> items,
                   Where where = {});
void read_internal(std::string_view record, const Format& fmt, std::span<const InItem> items, Where where = {});
// Free-form read from one string; end of data when items remain at its end.
ReadStatus read_free_internal(std::string_view record, std::initializer_list<InItem> items,
                              Where where = {});
ReadStatus read_free_internal(std::string_view record, std::span<const InItem> items, Where where = {});

}  // namespace rec
