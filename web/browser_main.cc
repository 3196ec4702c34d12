// The program's entry in the browser: the dialogue on the page's streams.
// Module.tambriEcho (set by a driver that pipes answers) asks for the answers
// to be echoed as a piped run does; a terminal widget echoes them itself.
#include <emscripten.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "async_streams.h"
#include "main/program.h"

int main(int argc, char** argv) {
  tambri::web::AsyncLineBuf in_buf;
  tambri::web::PageOutBuf out_buf;
  std::istream in(&in_buf);
  std::ostream out(&out_buf);
  std::cout.rdbuf(&out_buf);  // so a flush of std::cout before a read reaches the page
  std::cerr.rdbuf(&out_buf);
  const bool echo = EM_ASM_INT({ return Module.tambriEcho ? 1 : 0; }) != 0;
  std::vector<std::string> args(argv + 1, argv + argc);
  const int status = tambri::run_program(args, {in, out, std::cerr, echo, false});
  out.flush();
  std::cout.rdbuf(nullptr);
  std::cerr.rdbuf(nullptr);
  // A main that has been suspended returns into the event loop, not into the
  // runtime, so returning would not end the run (Module.onExit never comes).
  std::exit(status);
}
