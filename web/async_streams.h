#pragma once
// The console's streams in the browser. The page hands over answer lines
// asynchronously (a terminal widget, a test driver), so reading one suspends
// the program (ASYNCIFY) until the page's Module.tambriNextLine() resolves; the
// text written goes to Module.tambriWrite() whenever the program flushes and
// before every read, so a prompt without a line end is seen before the wait.
#include <streambuf>
#include <string>

namespace tambri::web {

// Answer lines from the page, each with its line end; end of input when the
// page resolves with null.
class AsyncLineBuf final : public std::streambuf {
 protected:
  int_type underflow() override;

 private:
  std::string line_;
};

// Text to the page, in UTF-8 as the program writes it.
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
