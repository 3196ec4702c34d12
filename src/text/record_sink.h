#pragma once
// Where line records go. On the console the first character of a record is
// carriage control; in a file every record is written as it stands, first
// character included, one record per line.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tambri {

class RecordSink {
 public:
  virtual ~RecordSink() = default;
  virtual void record(std::string_view text) = 0;
};

// A text file of records, created or overwritten. Records are collected in a
// buffer and written out in large pieces, the rest on close() or destruction.
// `ok()` is false when the file could not be opened or a write failed; a
// failure shows when the buffer is written out, so for certain only after
// close().
class FileRecordSink : public RecordSink {
 public:
  explicit FileRecordSink(const std::string& path);
  ~FileRecordSink() override;
  FileRecordSink(const FileRecordSink&) = delete;
  FileRecordSink& operator=(const FileRecordSink&) = delete;

  void record(std::string_view text) override;

  // A record built in place: open_record(n) gives room for up to n
  // characters; end_record(end) completes the record whose text ends at `end`.
  char* open_record(size_t max_length) {
    if (used_ + max_length >= buffer_.size()) make_room(max_length);
    return buffer_.data() + used_;
  }
  void end_record(char* end) {
    *end++ = '\n';
    used_ = static_cast<size_t>(end - buffer_.data());
    if (used_ >= kChunk) write_out();
  }

  bool ok() const { return opened_ && !failed_; }
  // Writes out the rest and closes the file; returns ok(), which then includes
  // the outcome of the last write.
  bool close();

 private:
  static constexpr size_t kChunk = size_t{1} << 16;
  void make_room(size_t max_length);
  void write_out();

  std::FILE* file_;
  bool opened_;
  bool failed_ = false;
  std::vector<char> buffer_;
  size_t used_ = 0;
};

}  // namespace tambri
