#pragma once
// Where line records go. On the console the first character of a record is
// carriage control; in a file every record is written as it stands, first
// character included, one record per line.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tambri {

class PendingFile;

class RecordSink {
 public:
  virtual ~RecordSink() = default;
  virtual void record(std::string_view text) = 0;
};

// A text file of records, created or replaced. Records are collected in a
// buffer and written out in large pieces to a new file beside the target,
// which close() (or destruction) renames over it when every write succeeded:
// a failed write never leaves a truncated file under the name, and an old
// file stays as it was. `ok()` is false when the file could not be made or a
// write failed; for certain only after close().
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
  // Writes out the rest and puts the file in place; returns ok(), which then
  // includes the outcome of the last write and of the rename.
  bool close();
  // Drops what was written: an unfinished file does not replace the old one.
  void abandon();

 private:
  static constexpr size_t kChunk = size_t{1} << 16;
  void make_room(size_t max_length);
  void write_out();

  std::unique_ptr<PendingFile> file_;
  bool opened_;
  bool failed_ = false;
  std::vector<char> buffer_;
  size_t used_ = 0;
};

}  // namespace tambri
