#include "text/record_sink.h"

#include <cstring>

#include "text/files.h"

namespace tambri {
namespace {

// Beyond the chunk that is written out at once: room for the record that
// fills it, so that open_record() rarely has to write out early.
constexpr size_t kSlack = 4096;

}  // namespace

FileRecordSink::FileRecordSink(const std::string& path)
    : file_(std::make_unique<PendingFile>(path)), opened_(file_->opened()) {
  if (!opened_) {
    file_.reset();
    return;
  }
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
  if (file_ != nullptr && !failed_ && used_ > 0 && !file_->write(std::string_view(buffer_.data(), used_))) {
    failed_ = true;
  }
  used_ = 0;
}

bool FileRecordSink::close() {
  if (file_ != nullptr) {
    write_out();
    if (!file_->commit(/*sync=*/false)) failed_ = true;
    file_.reset();
  }
  return ok();
}

void FileRecordSink::abandon() {
  used_ = 0;
  file_.reset();  // removes the new file; the old one was never touched
}

}  // namespace tambri
