#include "async_streams.h"

#include <emscripten.h>

#include <cstdlib>

#include "breathing.h"

// The bodies are JavaScript, which the C++ formatter would break.
// clang-format off
// A line from the page as a malloc'd C string (freed by the caller), or null
// at the end of input.
EM_ASYNC_JS(char*, tambri_next_line, (), {
  const line = await Module.tambriNextLine();
  if (line === null || line === undefined) return 0;
  return allocateUTF8(line);
});

EM_JS(void, tambri_write, (const char* data, int length), { Module.tambriWrite(UTF8ToString(data, length)); });
// clang-format on

namespace tambri::web {

AsyncLineBuf::int_type AsyncLineBuf::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  char* line = tambri_next_line();
  if (line == nullptr) return traits_type::eof();
  line_ = line;
  std::free(line);
  line_ += '\n';
  setg(line_.data(), line_.data(), line_.data() + line_.size());
  return traits_type::to_int_type(*gptr());
}

PageOutBuf::int_type PageOutBuf::overflow(int_type ch) {
  sync();
  if (!traits_type::eq_int_type(ch, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(ch);
    pbump(1);
  }
  return traits_type::not_eof(ch);
}

int PageOutBuf::sync() {
  if (pptr() > pbase()) tambri_write(pbase(), static_cast<int>(pptr() - pbase()));
  setp(buffer_, buffer_ + sizeof buffer_);
  breathe_now_and_then();
  return 0;
}

}  // namespace tambri::web
