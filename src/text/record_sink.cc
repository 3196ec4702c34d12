#include "text/record_sink.h"

#include <cstring>

namespace tambri {
namespace {

// Beyond the chunk that is written out at once: room for the record that
// fills it, so that open_record() rarely has to write out early.
constexpr size_t kSlack = 4096;

}  // namespace

FileRecordSink::FileRecordSink(const std::string& path)
    : file_(std::fopen(path.c_str(), "w")), opened_(file_ != nullptr) {
  if (!opened_) return;
  // The records are buffered here already; a second buffer in the C library
  // would only copy them once more.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  buffer_.resize(kChunk + kSlack);
}

FileRecordSink::~FileRecordSink() { close(); }

void FileRecordSink::record(std::string_view text) {
  char* at = open_record(text.size());
  if (!text.empty()) std::memcpy(at, text.data(), text.size());
  end_record(at + text.size());
}

void FileRecordSink::make_room(size_t max_length) {
  write_out();
  // The text and its line end.
  if (max_length + 1 > buffer_.size()) buffer_.resize(max_length + 1);
}

void FileRecordSink::write_out() {
  if (file_ != nullptr && !failed_ && used_ > 0 && std::fwrite(buffer_.data(), 1, used_, file_) != used_) {
    failed_ = true;
  }
  used_ = 0;
}

bool FileRecordSink::close() {
  if (file_ != nullptr) {
    write_out();
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
  }
  return ok();
}

}  // namespace tambri
