// What a read statement needs from its target: the records one after another
// and, for a report, where the current one came from. Text files, files of
// fixed-length records and internal records each supply one.
#pragma once

#include <string_view>

#include "common/records.hpp"

namespace rec {

class RecordSource {
 public:
  // Moves to the next record (the first one on the first call); false at end
  // of data. The view stays valid until the next call. May throw RecordError
  // (a record beyond the end of a file of fixed-length records).
  virtual bool next(std::string_view& record) = 0;
  // The current record, for reports.
  virtual Where where() const = 0;

 protected:
  ~RecordSource() = default;
};

// A source of exactly one record, already in memory.
class SingleRecord final : public RecordSource {
 public:
  SingleRecord(std::string_view record, Where where) : record_(record), where_(where) {}
  bool next(std::string_view& record) override {
    if (taken_) return false;
    taken_ = true;
    record = record_;
    return true;
  }
  Where where() const override { return where_; }

 private:
  std::string_view record_;
  Where where_;
  bool taken_ = false;
};

}  // namespace rec
