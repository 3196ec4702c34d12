#pragma once
// Where line records go. On the console the first character of a record is
// carriage control; in a file every record is written as it stands, first
// character included, one record per line.
#include <fstream>
#include <string>
#include <string_view>

namespace tambri {

class RecordSink {
 public:
  virtual ~RecordSink() = default;
  virtual void record(std::string_view text) = 0;
};

// A text file of records. `ok()` is false when the file could not be opened or
// a write failed.
class FileRecordSink : public RecordSink {
 public:
  explicit FileRecordSink(const std::string& path) : out_(path, std::ios::out | std::ios::trunc) {}
  void record(std::string_view text) override { out_ << text << '\n'; }
  bool ok() const { return static_cast<bool>(out_); }
  void close() { out_.close(); }

 private:
  std::ofstream out_;
};

}  // namespace tambri
