// The picture window on a real X server: Xvfb runs the driver's pictures and
// the program itself; the window (or the screen where it lies) must show
// exactly the bitmap the same picture saved (apart from the " <Return>" that
// the frame writes after saving) or the surface as a prompt found it;
// xdotool presses Return in the window, moves the pointer, clicks, reads the
// window's name and cuts the program's connection; xclip reads the
// clipboard; x_window_tool plays the window manager and other clients.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "dialogue/node_probe.h"
#include "draw/surface.h"
#include "support/child_process.h"
#include "support/external_tools.h"
#include "support/session.h"

#if defined(TAMBRI_HAVE_SDL2) && defined(TAMBRI_X_WINDOW_TOOL)
#define TAMBRI_REQUIRE_WINDOW()   \
  TAMBRI_REQUIRE_PROGRAM("Xvfb"); \
  TAMBRI_REQUIRE_PROGRAM("xdotool")
#else
#undef TAMBRI_X_WINDOW_TOOL
#define TAMBRI_X_WINDOW_TOOL ""
#define TAMBRI_REQUIRE_WINDOW()                                  \
  if (std::getenv("CI")) FAIL() << "built without SDL2 or Xlib"; \
  GTEST_SKIP() << "built without SDL2 or Xlib"
#endif

namespace tambri {
namespace {

using namespace std::chrono_literals;
using test::Child;
using test::eventually;

// Polls until the file holds `text` at least `count` times.
bool eventually_holds(const std::filesystem::path& file, const std::string& text, int count = 1,
                      std::chrono::milliseconds timeout = 20s) {
  return eventually(
      [&] {
        const std::string got = test::read_file(file);
        int n = 0;
        for (size_t at = got.find(text); at != std::string::npos; at = got.find(text, at + 1)) ++n;
        return n >= count;
      },
      timeout);
}

// Xvfb on a display number it picks itself, the pointer in its lower right
// corner, away from the window, which appears in the middle: a picture that
// reads the pointer would change the title the tests find the window by.
// Without -noreset the server would start afresh, pointer in the middle,
// when its last client goes.
struct XServer {
  XServer()
      : process("exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset >'" + (dir / "display").string() +
                "' 2>/dev/null") {
    if (eventually_holds(dir / "display", "\n", 1, 30s)) display = ":" + test::read_file(dir / "display");
    while (!display.empty() && display.back() == '\n') display.pop_back();
    if (!display.empty()) test::run_command("DISPLAY=" + display + " xdotool mousemove 1023 767");
  }
  test::TempDir dir;
  Child process;
  std::string display;
};

// In a sanitized build the leak check is off in the window processes: SDL's
// D-Bus and X11 libraries keep allocations to the end of the process and are
// unloaded before the check could even name them.
const std::string kNoLeakCheck = "ASAN_OPTIONS=detect_leaks=0 ";

// A command line in `dir` whose `env` arguments come first; stdout and stderr
// go to the files "out" and "err" there.
std::string in_dir(const test::TempDir& dir, const std::string& env_arguments) {
  return "cd '" + dir.path().string() + "' && exec env " + env_arguments + " >out 2>err";
}

std::string run(const XServer& x, const std::string& command) {
  std::string out = test::run_command("DISPLAY=" + x.display + " " + command).output;
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}
std::string window_id(const XServer& x) { return run(x, "xdotool search --name '^TAMBRI$' | head -n 1"); }
std::string window_name(const XServer& x, const std::string& id) { return run(x, "xdotool getwindowname " + id); }
// Moves the pointer to window pixel (px, py), away and back so that it moves
// even when it stands there, and reads the window's name.
std::string title_at(const XServer& x, const std::string& id, int px, int py) {
  run(x, "xdotool mousemove --window " + id + " " + std::to_string(px + 1) + " " + std::to_string(py) +
             " mousemove --window " + id + " " + std::to_string(px) + " " + std::to_string(py));
  return window_name(x, id);
}
std::string x_tool(const XServer& x, const std::string& command, const std::string& id) {
  return run(x, "'" TAMBRI_X_WINDOW_TOOL "' " + command + " " + id);
}

// Pixels where the window differs from a saved bitmap: {outside, inside} the
// cells of the frame's " <Return>"; -1 while either cannot be read. With
// `root`, what the user sees where the window lies, a window on top included.
std::pair<int, int> compare(const XServer& x, const std::string& bitmap, bool root = false) {
  std::pair d(-1, -1);
  std::istringstream(x_tool(x, "compare", window_id(x) + " '" + bitmap + (root ? "' root" : "'"))) >> d.first >>
      d.second;
  return d;
}

// The picture a frame saved, with the " <Return>" it wrote afterwards, or
// (`cleared`) the surface as a prompt found it.
bool shows(const XServer& x, const std::string& bitmap, bool cleared = false, bool root = false) {
  const auto [outside, prompt] = compare(x, bitmap, root);
  return outside == 0 && (cleared ? prompt == 0 : prompt > 0);
}

TEST(PictureWindow, PicturesPromptsReturnCloseRequestsAndRepaintsInTheDriversWindow) {
  TAMBRI_REQUIRE_WINDOW();
  test::TempDir dir;
  XServer x;
  ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
  const auto file = [&dir](const char* name) { return (dir / name).string(); };
  Child driver(in_dir(dir, kNoLeakCheck + "DISPLAY=" + x.display +
                               " '" TAMBRI_WINDOW_DRIVER
                               "' erstes.bmp prompt:leer.bmp zweites.bmp drittes.bmp viertes.bmp"));

  // The window appears when the first picture waits; Return pressed in it
  // ends the wait.
  EXPECT_TRUE(eventually([&] { return shows(x, file("erstes.bmp")); }, 30s));
  EXPECT_EQ(run(x,
                "timeout 20 sh -c 'xdotool windowfocus --sync $(xdotool search --name TAMBRI | head -n 1) key "
                "Return' && echo pressed"),
            "pressed");
  ASSERT_TRUE(eventually_holds(dir / "out", "prompt\n")) << "Return in the window did not end the wait";

  // At a prompt the window shows the cleared surface, and repaints it when a
  // window over it goes away.
  EXPECT_TRUE(eventually([&] { return shows(x, file("leer.bmp"), true); }, 10s)) << "not the cleared surface";
  const std::string id = window_id(x);
  {
    Child lid("exec env DISPLAY=" + x.display + " '" TAMBRI_X_WINDOW_TOOL "' cover " + id + " 1000 >'" + file("lid") +
              "'");
    ASSERT_TRUE(eventually_holds(dir / "lid", "covered\n", 1, 10s));
    EXPECT_GT(compare(x, file("leer.bmp"), true).first, GraphicsSurface::kWidth * GraphicsSurface::kHeight / 2);
    ASSERT_TRUE(lid.wait_exit(10s).has_value());
  }
  EXPECT_TRUE(eventually([&] { return shows(x, file("leer.bmp"), true, true); }, 10s)) << "not repainted";

  // A close request at the prompt hides the window and is forgotten there.
  EXPECT_EQ(x_tool(x, "close", id), "");
  EXPECT_TRUE(eventually([&] { return x_tool(x, "state", id) == "unmapped"; }, 10s));
  driver.write_input("antwort\n");
  EXPECT_TRUE(eventually_holds(dir / "out", "prompt\nanswer:antwort\n"));

  // The next picture shows the window again and waits for Return as usual;
  // during a picture's wait a close request ends it as Return would.
  EXPECT_TRUE(eventually([&] { return shows(x, file("zweites.bmp")); }, 20s));
  std::this_thread::sleep_for(1500ms);
  EXPECT_FALSE(std::filesystem::exists(file("drittes.bmp"))) << "the picture's wait ended by itself";
  EXPECT_EQ(x_tool(x, "state", id), "viewable");
  EXPECT_EQ(x_tool(x, "close", id), "");
  EXPECT_TRUE(eventually([&] { return shows(x, file("drittes.bmp")); }, 20s))
      << "the close request did not end the wait";

  // Two lines in one write: the last wait must find its line in the buffer.
  driver.write_input("\n\n");
  EXPECT_EQ(driver.wait_exit(30s), std::optional<int>(0)) << "the last picture did not take the buffered line";
  EXPECT_EQ(test::read_file(dir / "out"), "prompt\nanswer:antwort\ndone\n");
}

// The pointer over a probed picture of the driver (x lines 3-9 at 0.02-0.08
// down, y lines 2-6 at 0.01-0.05 across): the title names the point, the
// nearest node and its value 1000 i + 10 j; a click copies the node's
// coordinates; the legend, the empty part of a true-to-scale picture and the
// prompt after the wait show the plain title.
TEST(PictureWindow, PointerOverAPictureReadsItInTheTitleAndAClickCopiesTheNode) {
  TAMBRI_REQUIRE_WINDOW();
  TAMBRI_REQUIRE_PROGRAM("xclip");
  test::TempDir dir;
  XServer x;
  Child driver(in_dir(dir, kNoLeakCheck + "DISPLAY=" + x.display +
                               " '" TAMBRI_WINDOW_DRIVER "' probe:full prompt:leer.bmp probe:square"));
  std::string id;
  ASSERT_TRUE(eventually([&] { return !(id = window_id(x)).empty() && x_tool(x, "state", id) == "viewable"; }, 30s));
  const auto name = [&] { return window_name(x, id); };
  const auto title_at = [&](int px, int py) { return tambri::title_at(x, id, px, py); };
  const std::string node_4_3 = "x= 3.000E-02  y= 2.000E-02  (4, 3)  Feldstaerke E  (V/m) = 4.030E+03";
  EXPECT_TRUE(eventually([&] { return title_at(150, 125) == node_4_3; }, 20s)) << name();
  run(x, "xdotool click 1");
  EXPECT_TRUE(eventually([&] { return name() == node_4_3 + "  kopiert"; }, 10s)) << name();
  EXPECT_EQ(run(x, "timeout 10 xclip -selection clipboard -o"), "0.03 0.02");
  EXPECT_TRUE(eventually([&] { return title_at(700, 300) == "TAMBRI"; }, 10s)) << name();  // the legend
  title_at(400, 125);

  // The wait over, the plain title with the pointer still on the picture;
  // true to scale, the next picture reads the resting pointer at once.
  driver.write_input("\n");
  ASSERT_TRUE(eventually_holds(dir / "out", "prompt\n"));
  EXPECT_EQ(name(), "TAMBRI");
  driver.write_input("antwort\n");
  const std::string node_4_6 = "x= 3.000E-02  y= 5.000E-02  (4, 6)  Feldstaerke E  (V/m) = 4.060E+03";
  EXPECT_TRUE(eventually([&] { return name() == node_4_6; }, 20s)) << name();
  EXPECT_TRUE(eventually([&] { return title_at(500, 125) == "TAMBRI"; }, 10s)) << name();  // beyond y = 0.05
  driver.write_input("\n");
  EXPECT_EQ(driver.wait_exit(30s), std::optional<int>(0));
}

// Node (i, j) of a table the session wrote (rows of x lines in blocks of six
// y lines): the coordinates of its lines and its value as written, 1PE10.3.
struct TableEntry {
  double x = -1, y = -1;
  std::string value;
};
TableEntry table_entry(const std::filesystem::path& file, int i, int j) {
  TableEntry e;
  const size_t column = static_cast<size_t>((j - 1) % 6);
  int block = 0;
  for (const std::string& line : test::split_lines(test::read_file(file))) {
    if (line.find("y-Line") != std::string::npos) ++block;
    if (block != (j - 1) / 6 + 1 || line.size() < 24 + 11 * column) continue;
    if (line.find("(m)") != std::string::npos) e.y = std::stod(line.substr(15 + 11 * column, 9));
    if (std::atoi(line.substr(0, 4).c_str()) != i) continue;
    e.x = std::stod(line.substr(4, 9));
    e.value = line.substr(14 + 11 * column, 10);
  }
  return e;
}

// The program's own pictures of the example structure read with the pointer:
// the structure at GENERATE (all of it, square: 6000 pixels per metre from
// (0, 25)); then, solved, its tables written and zoomed to x 0.02-0.08 (down)
// and y 0.01-0.04 (across), the pictures stretched over the square ("Y":
// 20000 pixels per metre across, 10000 down) or true to scale ("N": 10000
// both ways), the cut along y line 7 (x across 500 pixels from 100) and the
// path picture (all of it). At a node's pixel the title names a point within
// a pixel of the node, the node and the value the table gives there (the
// occupancy in words); a click copies the node; the legend, the empty part of
// a picture and the prompt after the wait show the plain title.
TEST(PictureWindow, PointerOverTheProgramsPicturesReadsTheirTablesValues) {
  TAMBRI_REQUIRE_WINDOW();
  TAMBRI_REQUIRE_PROGRAM("xclip");
  const struct {
    std::string answers;  // from the menu the row before left
    int px, py, i, j;
    const char* table;  // "u.txt": the occupancy
    int plain_px, plain_py;
  } rows[] = {
      {"A\nA\n", 300, 205, 13, 21, "u.txt", 700, 300},
      {"X\nX\nY\nR\nTU\nu.txt\nE\ne.txt\nP\np.txt\nX\nZZ\n0.0201 0.0101\n0.0801 0.0401\nX\nCE\nN\nY\n", 100, 75, 11, 7,
       "e.txt", 635, 100},
      {"X\nIP\nN\nN\nN\nN\nN\nN\nN\n", 100, 225, 17, 9, "p.txt", 500, 300},
      {"X\nPE\nN\nN\nN\n", 50, 75, 11, 7, "e.txt", 400, 75},  // the arrows' length
      {"X\nSE\nX\n0.0151\nN\nN\n", 350, 280, 21, 7, "e.txt", 50, 280},
      {"X\nTQ\n0.0201 0.0101\n0.0601 0.0601\n", 300, 445, 29, 21, "u.txt", 700, 445},
  };
  const test::TempDir dir("kondensa.dat");
  XServer x;
  Child program(in_dir(dir, kNoLeakCheck + "DISPLAY=" + x.display + " '" TAMBRI_BINARY "'"));
  program.write_input("kondensa.dat\n");
  std::string id;
  std::vector<std::pair<std::string, std::string>> read;  // title, clipboard
  for (const auto& row : rows) {
    program.write_input(row.answers);
    const auto reads_node = [&] {
      if (id.empty()) id = window_id(x);
      const std::string title = id.empty() ? "" : title_at(x, id, row.px, row.py);
      return title.starts_with("x=") && !title.ends_with(kCopiedNote);
    };
    EXPECT_TRUE(eventually(reads_node, 30s)) << row.answers << window_name(x, id);
    run(x, "xdotool click 1");
    std::string title;
    EXPECT_TRUE(eventually([&] { return (title = window_name(x, id)).ends_with(kCopiedNote); }, 10s)) << title;
    read.emplace_back(title.substr(0, title.size() - kCopiedNote.size()),
                      run(x, "timeout 10 xclip -selection clipboard -o"));
    EXPECT_TRUE(eventually([&] { return title_at(x, id, row.plain_px, row.plain_py) == "TAMBRI"; }, 10s))
        << row.answers << window_name(x, id);
    title_at(x, id, row.px, row.py);
    program.write_input("\n");
    EXPECT_TRUE(eventually([&] { return window_name(x, id) == "TAMBRI"; }, 10s)) << "not plain after the wait";
  }
  program.write_input("X\nX\nX\n", true);
  ASSERT_EQ(program.wait_exit(30s), std::optional<int>(0));

  const std::regex reading(R"(x=(.{10})(?:  y=(.{10}))?  \((\d+), (\d+)\)  (.*))");
  for (size_t k = 0; k < read.size(); ++k) {
    const auto& row = rows[k];
    const auto& [title, copy] = read[k];
    const TableEntry e = table_entry(dir / row.table, row.i, row.j);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(title, m, reading)) << title;
    EXPECT_NEAR(std::stod(m[1]), e.x, 2e-4) << title;
    if (m[2].matched) {
      EXPECT_NEAR(std::stod(m[2]), e.y, 2e-4) << title;
    }
    EXPECT_EQ(std::pair(std::stoi(m[3]), std::stoi(m[4])), std::pair(row.i, row.j)) << title;
    if (row.table == std::string("u.txt")) {
      EXPECT_EQ(m[5], assignment_words(static_cast<int32_t>(std::stod(e.value)))) << title;
    } else {
      EXPECT_TRUE(m[5].str().ends_with(" =" + e.value) && m[5].length() > 14) << title << " not" << e.value;
    }
    double cx = 0, cy = 0;
    std::istringstream(copy) >> cx >> cy;
    EXPECT_TRUE(std::fabs(cx - e.x) < 1e-9 && std::fabs(cy - e.y) < 1e-9) << copy;
  }
}

// The program itself on the example structure under Xvfb: load it, show the
// structure picture (A at GENERATE, B for its bitmap, A), and, once the window
// shows it (at the picture's wait or at the next prompt), what `disturb` does
// to the window; once the program has said that the window is lost, a second
// picture, which waits for a line as without a window, and the way out.
void run_disturbed(bool at_prompt, const std::function<void(XServer&, const std::string& id)>& disturb,
                   const std::vector<std::string>& screen_after_the_first_wait) {
  const test::TempDir dir("kondensa.dat");  // never a history.inp of an earlier session
  XServer x;
  Child program(in_dir(dir, kNoLeakCheck + "DISPLAY=" + x.display + " '" TAMBRI_BINARY "'"));
  program.write_input("kondensa.dat\nA\nB\nA\n");
  EXPECT_TRUE(eventually(
      [&] {
        const auto [outside, prompt] =
            compare(x, (dir / "konden_a.bmp").string());  // a prompt of at most nine characters
        return outside >= 0 && outside + prompt > 0 && outside + prompt <= 9 * 8 * 16;
      },
      30s));
  const std::string id = window_id(x);
  if (at_prompt) {
    program.write_input("\n");
    eventually_holds(dir / "out", "GENERATE\\ANZEIGE>", 3);
  }
  disturb(x, id);
  eventually_holds(dir / "err", "\n");
  program.write_input("A\n\nX\nX\nN\nX\n", true);
  EXPECT_EQ(program.wait_exit(30s), std::optional<int>(0));
  EXPECT_EQ(test::read_file(dir / "err"), "tambri: Bildfenster verloren, weiter ohne Fenster\n");
  const std::string screen = test::read_file(dir / "out");
  EXPECT_TRUE(test::contains_run(test::split_lines(screen), screen_after_the_first_wait)) << screen;
}

TEST(PictureWindow, ProgramThatLosesItsWindowOrDisplayGoesOnHeadlessToANormalEnd) {
  TAMBRI_REQUIRE_WINDOW();
  // xdotool windowkill closes the program's whole X connection, as xkill does;
  // the lost window ends the picture's wait, the second picture takes a line.
  run_disturbed(false, [](XServer& x, const std::string& id) { run(x, "xdotool windowkill " + id); },
                {"GENERATE\\ANZEIGE>A", "", "GENERATE\\ANZEIGE>A", "", "", "GENERATE\\ANZEIGE>X", "", "GENERATE>X"});
  const std::vector<std::string> at_prompt = {"GENERATE\\ANZEIGE>A", "", "",          "GENERATE\\ANZEIGE>A", "", "",
                                              "GENERATE\\ANZEIGE>X", "", "GENERATE>X"};
  // Any client may destroy the window (xdotool windowclose does just that).
  run_disturbed(
      true, [](XServer& x, const std::string& id) { run(x, "xdotool windowclose " + id); }, at_prompt);
  run_disturbed(
      true, [](XServer& x, const std::string&) { x.process.kill_now(); }, at_prompt);
}

// A piped session with a picture in an example folder; stdout and stderr.
std::pair<std::string, std::string> piped_session(const std::string& env_arguments) {
  const test::TempDir dir("kondensa.dat");  // never a history.inp of an earlier session
  Child program(in_dir(dir, env_arguments));
  program.write_input("kondensa.dat\nA\nA\n\nX\nX\nN\nX\n", true);
  program.wait_exit(30s);
  return {test::read_file(dir / "out"), test::read_file(dir / "err")};
}

TEST(PictureWindow, WindowLibraryWritesNothingWithoutXdgRuntimeDirAndAMissingDisplayGivesOneLine) {
  TAMBRI_REQUIRE_WINDOW();
  const auto headless = piped_session(kNoLeakCheck + "'" TAMBRI_BINARY "' --headless");
  ASSERT_NE(headless.first.find("TAMBRI>X"), std::string::npos) << headless.first;
  EXPECT_EQ(headless.second, "");

  // A Wayland socket name that cannot be found without XDG_RUNTIME_DIR.
  XServer x;
  ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
  const std::string program = "DISPLAY=" + x.display + " '" TAMBRI_BINARY "'";
  EXPECT_EQ(piped_session("-u XDG_RUNTIME_DIR " + kNoLeakCheck + "WAYLAND_DISPLAY=wayland-0 " + program),
            std::pair(headless.first, std::string()));

  // The display of a server that is gone: no window, one line of our own.
  x.process.kill_now();
  EXPECT_EQ(
      piped_session("-u XDG_RUNTIME_DIR -u WAYLAND_DISPLAY " + kNoLeakCheck + program),
      std::pair(headless.first, "tambri: Anzeige \"" + x.display + "\" nicht erreichbar, Bilder nur als Dateien\n"));
}

}  // namespace
}  // namespace tambri
