// The program's entry in the browser: the dialogue on the page's terminal.
// The terminal echoes what is typed, as a terminal does, so answers are not
// echoed again; progress lines are shown as they come.
#include <sys/stat.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "async_streams.h"
#include "main/program.h"

int main(int argc, char** argv) {
  // Emscripten starts with a umask of 0777, so every file the program creates
  // would get no permissions at all and could not be read again, neither by
  // the program (a saved structure) nor by the page (downloads). The usual
  // mask of a desktop session instead.
  umask(022);
  tambri::web::AsyncLineBuf in_buf;
  tambri::web::PageOutBuf out_buf;
  std::istream in(&in_buf);
  std::ostream out(&out_buf);
  std::cerr.rdbuf(&out_buf);  // the odd note on stderr belongs on the same screen
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int status = tambri::run_program(args, {in, out, std::cerr, /*echo_input=*/false});
  out.flush();
  std::cerr.rdbuf(nullptr);
  // A main that has waited for the page returns into the browser's event loop,
  // not into the runtime, so returning would not end the run: the page would
  // never hear that the program ended.
  std::exit(status);
}
