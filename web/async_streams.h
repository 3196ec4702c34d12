#pragma once
// The console's streams in the browser. The page hands over answer lines
// asynchronously (its terminal, a test driver), so reading one suspends the
// program (ASYNCIFY) until the page's Module.tambriNextLine() resolves. Text
// goes to Module.tambriWrite() whenever the program flushes, which it does
// before every read, so a prompt is seen before the wait.
#include <streambuf>
#include <string>

namespace tambri::web {

// Answer lines from the page, each given a line end; end of input when the
// page resolves with null.
class AsyncLineBuf final : public std::streambuf {
 protected:
  int_type underflow() override;

 private:
  std::string line_;
};

// Text to the page, in UTF-8 as the program writes it. A flush also lets the
// browser breathe now and then, so a progress line is painted as it changes.
class PageOutBuf final : public std::streambuf {
 public:
  PageOutBuf() { setp(buffer_, buffer_ + sizeof buffer_); }

 protected:
  int_type overflow(int_type ch) override;
  int sync() override;

 private:
  char buffer_[4096];
};

}  // namespace tambri::web
