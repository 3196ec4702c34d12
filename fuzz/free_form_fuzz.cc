// Free-form answers on arbitrary lines: numbers of both kinds over several
// lines, letters, texts and digits, read as the dialogue reads them. No
// reading may crash, loop, or store anything but a finite number.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "text/console.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tambri;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream out;
  Console console(in, out, true);
  try {
    for (int round = 0; round < 64; ++round) {
      double a = 0, b = 0;
      int n = 0;
      if (console.read_numbers({a, n, b}) && (!std::isfinite(a) || !std::isfinite(b))) std::abort();
      console.read_letters(3);
      console.read_text(12);
      console.read_digit();
      console.prompt(" Wert:");
    }
  } catch (const EndOfInput&) {
  }
  return 0;
}
