// The picture window on a real X server: Xvfb runs the driver's pictures and
// the program itself, xwd takes screenshots of the window, which must show
// exactly the bitmap the same picture saved (apart from the " <Return>" that
// the frame writes after saving) or the surface as a prompt found it;
// xdotool presses Return in the window and cuts the program's connection;
// x_window_tool plays the window manager and other clients.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/external_tools.h"
#include "support/session.h"
#include "window_picture.h"

extern char** environ;

namespace tambri {
namespace {

using Clock = std::chrono::steady_clock;

// A child process, killed and reaped when the object goes.
class Child {
 public:
  // Starts `argv` in `dir`; `env` entries "NAME=value" are set, plain "NAME"
  // entries removed. Its stdin, stdout and stderr are pipes; `keep_fd` (if
  // not -1) stays open in it.
  Child(const std::vector<std::string>& argv, const std::vector<std::string>& env_changes,
        const std::filesystem::path& dir, int keep_fd = -1) {
    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return;
    std::vector<std::string> env_strings;
    for (const std::string& change : env_changes) {
      if (change.find('=') != std::string::npos) env_strings.push_back(change);
    }
    for (char** e = environ; *e; ++e) {
      const std::string entry(*e);
      const std::string name = entry.substr(0, entry.find('='));
      bool changed = false;
      for (const std::string& change : env_changes) changed = changed || change.substr(0, change.find('=')) == name;
      if (!changed) env_strings.push_back(entry);
    }
    std::vector<char*> args, env;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    for (const std::string& e : env_strings) env.push_back(const_cast<char*>(e.c_str()));
    args.push_back(nullptr);
    env.push_back(nullptr);
    const std::string cwd = dir.string();
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      dup2(err[1], 2);
      for (int fd = 3; fd < 256; ++fd) {
        if (fd != keep_fd) close(fd);
      }
      if (chdir(cwd.c_str()) == 0) execvpe(args[0], args.data(), env.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    stdin_ = in[1];
    stdout_ = out[0];
    stderr_ = err[0];
  }
  ~Child() {
    close_stdin();
    if (stdout_ >= 0) close(stdout_);
    if (stderr_ >= 0) close(stderr_);
    kill_now();
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool started() const { return pid_ > 0; }
  int stdout_fd() const { return stdout_; }
  int stderr_fd() const { return stderr_; }

  bool write_input(const std::string& text) {
    return stdin_ >= 0 && write(stdin_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  }
  void close_stdin() {
    if (stdin_ >= 0) close(stdin_);
    stdin_ = -1;
  }
  void kill_now() {
    if (pid_ > 0 && !status_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      status_ = 128;
    }
  }

  // Exit status once it has ended within `timeout`, else nothing.
  std::optional<int> wait_exit(std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (!status_) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        break;
      }
      if (Clock::now() > end) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
  int stderr_ = -1;
  std::optional<int> status_;
};

// Reads from `fd` until a line feed arrives or `timeout` passes.
std::string read_line_from(int fd, std::chrono::milliseconds timeout) {
  std::string line;
  const auto end = Clock::now() + timeout;
  while (Clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    char c;
    if (read(fd, &c, 1) != 1) break;
    if (c == '\n') return line;
    line += c;
  }
  return line;
}

// Appends what `fd` delivers to `text` until it contains `wanted` `count`
// times, the pipe ends or `timeout` passes; true when it does.
bool read_until(int fd, std::string& text, const std::string& wanted, int count, std::chrono::milliseconds timeout) {
  const auto occurrences = [&] {
    int n = 0;
    for (size_t at = text.find(wanted); at != std::string::npos; at = text.find(wanted, at + 1)) ++n;
    return n;
  };
  const auto end = Clock::now() + timeout;
  while (occurrences() < count && Clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  return occurrences() >= count;
}

// Xvfb on a display number it picks itself.
class XServer {
 public:
  explicit XServer(const std::filesystem::path& dir) {
    int display_pipe[2];
    if (pipe(display_pipe) != 0) return;
    process_ = std::make_unique<Child>(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(display_pipe[1]),
                                                                "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                                       std::vector<std::string>{}, dir, display_pipe[1]);
    close(display_pipe[1]);
    const std::string number = read_line_from(display_pipe[0], std::chrono::seconds(30));
    close(display_pipe[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  bool running() const { return !display_.empty(); }
  const std::string& display() const { return display_; }
  // The display goes away under its clients.
  void stop() { process_->kill_now(); }

 private:
  std::unique_ptr<Child> process_;
  std::string display_;
};

// Polls `condition` until it holds or `timeout` passes.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  for (const auto end = Clock::now() + timeout; Clock::now() < end;) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return condition();
}

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// The id of the picture window (hidden or shown), empty when there is none.
std::string window_id(const std::string& display) {
  return trimmed(test::run_command("DISPLAY=" + display + " xdotool search --name '^TAMBRI$' | head -n 1").output);
}

#ifdef TAMBRI_X_WINDOW_TOOL
// What x_window_tool writes for `command` on window `id`.
std::string x_tool(const std::string& display, const std::string& command, const std::string& id) {
  return trimmed(test::run_command("DISPLAY=" + display + " '" TAMBRI_X_WINDOW_TOOL "' " + command + " " + id).output);
}
#endif

// In a sanitized build the leak check is off in the window processes: SDL's
// D-Bus and X11 libraries keep allocations to the end of the process and are
// unloaded before the check could even name them, and a viewer that lost its
// window leaves SDL as it is. (The surface and the frame are leak-checked by
// the other tests.)
const std::string kNoLeakCheck = "ASAN_OPTIONS=detect_leaks=0";

// Pixels as 0xRRGGBB, row by row.
using Pixels = std::vector<std::uint32_t>;
constexpr int kWidth = GraphicsSurface::kWidth, kHeight = GraphicsSurface::kHeight;

std::uint32_t be32(const std::string& b, size_t at) {
  std::uint32_t v = 0;
  for (size_t k = 0; k < 4; ++k) v = v << 8 | static_cast<std::uint8_t>(b[at + k]);
  return v;
}

// The 800 x 630 pixels at (x0, y0) of a window dump as xwd writes it on a
// TrueColor server: ZPixmap with 8-bit channels in 32-bit pixels (a dump of
// the root window says 24 bits per pixel but has 4 bytes for each).
std::optional<Pixels> parse_xwd(const std::string& b, int x0 = 0, int y0 = 0) {
  if (b.size() < 100 || be32(b, 8) != 2 || (be32(b, 44) != 32 && be32(b, 44) != 24) ||
      be32(b, 48) < 4 * be32(b, 16) || x0 < 0 || y0 < 0 ||
      be32(b, 16) < static_cast<std::uint32_t>(x0 + kWidth) || be32(b, 20) < static_cast<std::uint32_t>(y0 + kHeight)) {
    return std::nullopt;
  }
  const std::uint32_t bytes_per_line = be32(b, 48), red = be32(b, 56), green = be32(b, 60), blue = be32(b, 64);
  const size_t data = be32(b, 0) + 12 * static_cast<size_t>(be32(b, 76));
  if (b.size() < data + static_cast<size_t>(bytes_per_line) * be32(b, 20)) return std::nullopt;
  const bool lsb_first = be32(b, 28) == 0;
  const auto channel = [](std::uint32_t v, std::uint32_t mask) { return (v & mask) >> __builtin_ctz(mask); };
  Pixels out;
  for (int y = y0; y < y0 + kHeight; ++y) {
    for (int x = x0; x < x0 + kWidth; ++x) {
      const size_t at = data + static_cast<size_t>(y) * bytes_per_line + 4 * static_cast<size_t>(x);
      std::uint32_t v = 0;
      for (size_t k = 0; k < 4; ++k) v = v << 8 | static_cast<std::uint8_t>(b[at + (lsb_first ? 3 - k : k)]);
      out.push_back(channel(v, red) << 16 | channel(v, green) << 8 | channel(v, blue));
    }
  }
  return out;
}

// The 800 x 630 bitmap the frame saved, through its palette.
std::optional<Pixels> parse_bmp(const std::string& b) {
  const size_t offset = 14 + 40 + 1024;
  if (b.size() != offset + static_cast<size_t>(kWidth) * kHeight) return std::nullopt;
  const auto byte = [&b](size_t at) { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at])); };
  Pixels out;
  for (int y = kHeight - 1; y >= 0; --y) {
    for (int x = 0; x < kWidth; ++x) {
      const size_t entry = 54 + 4 * byte(offset + static_cast<size_t>(y * kWidth + x));
      out.push_back(byte(entry + 2) << 16 | byte(entry + 1) << 8 | byte(entry));
    }
  }
  return out;
}

// Differing pixels outside and inside the " <Return>" cells.
std::pair<int, int> differences(const Pixels& shot, const Pixels& bitmap) {
  const PixelRect& p = test::kPromptPixels;
  std::pair<int, int> d{0, 0};
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (shot[static_cast<size_t>(y * kWidth + x)] == bitmap[static_cast<size_t>(y * kWidth + x)]) continue;
      const bool in_prompt = x >= p.x1 && x <= p.x2 && y >= p.y1 && y <= p.y2;
      ++(in_prompt ? d.second : d.first);
    }
  }
  return d;
}

// The window's screenshot against a saved bitmap: differing pixels outside
// and inside the " <Return>" cells; nothing while either cannot be read (the
// window is not shown, the file not yet written).
std::optional<std::pair<int, int>> compare_window(const std::string& display, const test::TempDir& dir,
                                                  const std::string& bitmap_path) {
  const std::string shot_path = (dir / "fenster.xwd").string();
  const test::CommandResult xwd =
      test::run_command("xwd -silent -display " + display + " -name TAMBRI -out '" + shot_path + "'");
  const std::optional<Pixels> shot = parse_xwd(test::read_file(shot_path));
  const std::optional<Pixels> bitmap = parse_bmp(test::read_file(bitmap_path));
  if (xwd.status != 0 || !shot || !bitmap) return std::nullopt;
  return differences(*shot, *bitmap);
}

#ifdef TAMBRI_X_WINDOW_TOOL
std::string x_tool(const std::string& display, const std::string& command, const std::string& id);

// As compare_window, but from a dump of the whole screen where window `id`
// lies: what the user sees there, another window on top of it included.
std::optional<std::pair<int, int>> compare_screen(const std::string& display, const test::TempDir& dir,
                                                  const std::string& id, const std::string& bitmap_path) {
  int x = -1, y = -1;
  std::istringstream(x_tool(display, "origin", id)) >> x >> y;
  const std::string shot_path = (dir / "bildschirm.xwd").string();
  const test::CommandResult xwd = test::run_command("xwd -silent -display " + display + " -root -out '" + shot_path + "'");
  const std::optional<Pixels> shot = parse_xwd(test::read_file(shot_path), x, y);
  const std::optional<Pixels> bitmap = parse_bmp(test::read_file(bitmap_path));
  if (xwd.status != 0 || !shot || !bitmap) return std::nullopt;
  return differences(*shot, *bitmap);
}
#endif

// The picture a frame saved, with the " <Return>" it wrote afterwards.
bool shows_picture(const std::string& display, const test::TempDir& dir, const std::string& bitmap_path) {
  const auto d = compare_window(display, dir, bitmap_path);
  return d && d->first == 0 && d->second > 0;
}

// The picture a frame saved and a prompt of at most nine characters wherever
// the picture put it.
bool shows_picture_and_a_prompt(const std::string& display, const test::TempDir& dir, const std::string& bitmap_path) {
  const auto d = compare_window(display, dir, bitmap_path);
  const int total = d ? d->first + d->second : 0;
  return total > 0 && total <= 9 * GraphicsSurface::kCellWidth * GraphicsSurface::kCellHeight;
}

// Exactly the saved surface.
bool shows_exactly(const std::string& display, const test::TempDir& dir, const std::string& bitmap_path) {
  const auto d = compare_window(display, dir, bitmap_path);
  return d && d->first == 0 && d->second == 0;
}

test::CommandResult press_return_in_window(const std::string& display) {
  return test::run_command("DISPLAY=" + display +
                           " timeout 20 sh -c 'xdotool windowfocus --sync $(xdotool search --name TAMBRI | head -n 1) "
                           "key Return'");
}

#define TAMBRI_REQUIRE_WINDOW_TOOLS()  \
  TAMBRI_REQUIRE_PROGRAM("Xvfb");      \
  TAMBRI_REQUIRE_PROGRAM("xwd");       \
  TAMBRI_REQUIRE_PROGRAM("xdotool")

#ifndef TAMBRI_HAVE_SDL2
#define TAMBRI_REQUIRE_SDL2()                              \
  do {                                                     \
    if (std::getenv("CI")) FAIL() << "built without SDL2"; \
    GTEST_SKIP() << "built without SDL2";                  \
  } while (0)
#else
#define TAMBRI_REQUIRE_SDL2() \
  do {                        \
  } while (0)
#endif

#ifndef TAMBRI_X_WINDOW_TOOL
#define TAMBRI_X_WINDOW_TOOL ""
#endif

#define TAMBRI_REQUIRE_X_WINDOW_TOOL()                                 \
  do {                                                                 \
    if (std::string(TAMBRI_X_WINDOW_TOOL).empty()) {                   \
      if (std::getenv("CI")) FAIL() << "x_window_tool not built";     \
      GTEST_SKIP() << "x_window_tool not built (no Xlib headers)";     \
    }                                                                  \
  } while (0)

TEST(PictureWindow, ScreenshotShowsTheSavedBitmapAndReturnInTheWindowOrOnStdinEndsTheWait) {
  TAMBRI_REQUIRE_SDL2();
  TAMBRI_REQUIRE_WINDOW_TOOLS();
  test::TempDir dir;
  XServer x(dir.path());
  ASSERT_TRUE(x.running()) << "Xvfb did not start";

  const std::string first = (dir / "erstes.bmp").string(), second = (dir / "zweites.bmp").string(),
                    third = (dir / "drittes.bmp").string();
  Child driver({TAMBRI_WINDOW_DRIVER, first, second, third}, {"DISPLAY=" + x.display(), kNoLeakCheck}, dir.path());
  ASSERT_TRUE(driver.started());

  // The window appears when the first picture waits.
  std::optional<std::pair<int, int>> last;
  EXPECT_TRUE(eventually(
      [&] {
        last = compare_window(x.display(), dir, first);
        return last && last->first == 0 && last->second > 0;
      },
      std::chrono::seconds(30)))
      << "outside the prompt: " << (last ? last->first : -1) << ", in the prompt: " << (last ? last->second : -1);

  // Return pressed in the window ends the first wait: the second picture
  // saves its bitmap.
  const test::CommandResult key = press_return_in_window(x.display());
  EXPECT_EQ(key.status, 0) << key.output;
  ASSERT_TRUE(eventually([&] { return std::filesystem::exists(second); }, std::chrono::seconds(20)))
      << "Return in the window did not end the wait";

  // Two lines in one write: the third wait must find its line in the buffer.
  ASSERT_TRUE(driver.write_input("\n\n"));
  const std::optional<int> status = driver.wait_exit(std::chrono::seconds(30));
  ASSERT_TRUE(status.has_value()) << "the last picture did not take the buffered line";
  EXPECT_EQ(*status, 0);
  EXPECT_EQ(read_line_from(driver.stdout_fd(), std::chrono::seconds(5)), "done");
  EXPECT_TRUE(std::filesystem::exists(third));
}

TEST(PictureWindow, AtAPromptAfterTheWaitItShowsTheClearedSurfaceAndRepaintsItWhenUncovered) {
  TAMBRI_REQUIRE_SDL2();
  TAMBRI_REQUIRE_WINDOW_TOOLS();
  TAMBRI_REQUIRE_X_WINDOW_TOOL();
  test::TempDir dir;
  XServer x(dir.path());
  ASSERT_TRUE(x.running()) << "Xvfb did not start";
  const std::string picture = (dir / "bild.bmp").string(), cleared = (dir / "leer.bmp").string();
  Child driver({TAMBRI_WINDOW_DRIVER, picture, "prompt:" + cleared}, {"DISPLAY=" + x.display(), kNoLeakCheck},
               dir.path());
  ASSERT_TRUE(eventually([&] { return shows_picture(x.display(), dir, picture); }, std::chrono::seconds(30)));
  EXPECT_EQ(press_return_in_window(x.display()).status, 0);
  ASSERT_EQ(read_line_from(driver.stdout_fd(), std::chrono::seconds(20)), "prompt");
  EXPECT_TRUE(eventually([&] { return shows_exactly(x.display(), dir, cleared); }, std::chrono::seconds(10)))
      << "the window does not show the surface the frame cleared";

  // Another window over it and away again, while the dialogue waits for an
  // answer.
  const std::string id = window_id(x.display());
  Child lid({TAMBRI_X_WINDOW_TOOL, "cover", id, "1000"}, {"DISPLAY=" + x.display()}, dir.path());
  ASSERT_EQ(read_line_from(lid.stdout_fd(), std::chrono::seconds(10)), "covered");
  const auto covered = compare_screen(x.display(), dir, id, cleared);
  ASSERT_TRUE(covered.has_value());
  EXPECT_GT(covered->first, GraphicsSurface::kWidth * GraphicsSurface::kHeight / 2)
      << "the screen does not show the covering window";
  ASSERT_TRUE(lid.wait_exit(std::chrono::seconds(10)).has_value());
  std::optional<std::pair<int, int>> uncovered;
  EXPECT_TRUE(eventually(
      [&] {
        uncovered = compare_screen(x.display(), dir, id, cleared);
        return uncovered && uncovered->first == 0 && uncovered->second == 0;
      },
      std::chrono::seconds(10)))
      << "the uncovered window was not repainted: " << (uncovered ? uncovered->first : -1) << " pixels differ";

  ASSERT_TRUE(driver.write_input("weiter\n"));
  EXPECT_EQ(read_line_from(driver.stdout_fd(), std::chrono::seconds(10)), "answer:weiter");
  EXPECT_EQ(driver.wait_exit(std::chrono::seconds(20)), std::optional<int>(0));
}

TEST(PictureWindow, CloseRequestHidesTheWindowEndingAPicturesWaitButNotTheNextOne) {
  TAMBRI_REQUIRE_SDL2();
  TAMBRI_REQUIRE_WINDOW_TOOLS();
  TAMBRI_REQUIRE_X_WINDOW_TOOL();
  test::TempDir dir;
  XServer x(dir.path());
  ASSERT_TRUE(x.running()) << "Xvfb did not start";
  const std::string first = (dir / "erstes.bmp").string(), cleared = (dir / "leer.bmp").string(),
                    second = (dir / "zweites.bmp").string(), third = (dir / "drittes.bmp").string();
  Child driver({TAMBRI_WINDOW_DRIVER, first, "prompt:" + cleared, second, third},
               {"DISPLAY=" + x.display(), kNoLeakCheck}, dir.path());
  ASSERT_TRUE(eventually([&] { return shows_picture(x.display(), dir, first); }, std::chrono::seconds(30)));
  const std::string id = window_id(x.display());
  ASSERT_FALSE(id.empty());

  // At the prompt a close request hides the window and is forgotten there.
  ASSERT_TRUE(driver.write_input("\n"));
  ASSERT_EQ(read_line_from(driver.stdout_fd(), std::chrono::seconds(20)), "prompt");
  EXPECT_EQ(x_tool(x.display(), "close", id), "");
  EXPECT_TRUE(eventually([&] { return x_tool(x.display(), "state", id) == "unmapped"; }, std::chrono::seconds(10)));
  ASSERT_TRUE(driver.write_input("antwort\n"));
  EXPECT_EQ(read_line_from(driver.stdout_fd(), std::chrono::seconds(10)), "answer:antwort");

  // The next picture shows the window again and waits for Return as usual.
  EXPECT_TRUE(eventually([&] { return shows_picture(x.display(), dir, second); }, std::chrono::seconds(20)));
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_FALSE(std::filesystem::exists(third)) << "the picture's wait ended by itself";
  EXPECT_EQ(x_tool(x.display(), "state", id), "viewable");

  // During a picture's wait a close request ends it as Return would.
  EXPECT_EQ(x_tool(x.display(), "close", id), "");
  EXPECT_TRUE(eventually([&] { return std::filesystem::exists(third); }, std::chrono::seconds(10)))
      << "the close request did not end the wait";
  EXPECT_TRUE(eventually([&] { return shows_picture(x.display(), dir, third); }, std::chrono::seconds(20)));
  ASSERT_TRUE(driver.write_input("\n"));
  EXPECT_EQ(driver.wait_exit(std::chrono::seconds(20)), std::optional<int>(0));
  EXPECT_EQ(read_line_from(driver.stdout_fd(), std::chrono::seconds(5)), "done");
}

// The program itself on the example structure under Xvfb: load it, show the
// structure picture (A at GENERATE, B for its bitmap, A), and, once the window
// shows it, what `disturb` does to the window; once the program has said that
// the window is lost, a second picture, which waits for a line as without a
// window, and the way out.
struct DisturbedRun {
  bool picture_shown = false;
  std::string screen;
  std::string errors;
  std::optional<int> status;
};

enum class Moment { PictureWaits, AtPrompt };

DisturbedRun run_disturbed(Moment moment, const std::function<void(XServer&, const std::string& id)>& disturb) {
  test::TempDir dir;
  std::filesystem::copy_file(std::filesystem::path(TAMBRI_SOURCE_DIR) / "examples" / "kondensa.dat",
                             dir / "kondensa.dat");
  XServer x(dir.path());
  DisturbedRun run;
  if (!x.running()) return run;
  Child program({TAMBRI_BINARY}, {"DISPLAY=" + x.display(), kNoLeakCheck}, dir.path());
  program.write_input("kondensa.dat\nA\nB\nA\n");
  const std::string bitmap = (dir / "konden_a.bmp").string();
  run.picture_shown =
      eventually([&] { return shows_picture_and_a_prompt(x.display(), dir, bitmap); }, std::chrono::seconds(30));
  const std::string id = window_id(x.display());
  if (moment == Moment::AtPrompt) {
    program.write_input("\n");
    read_until(program.stdout_fd(), run.screen, "GENERATE\\ANZEIGE>", 3, std::chrono::seconds(20));
  }
  disturb(x, id);
  read_until(program.stderr_fd(), run.errors, "\n", 1, std::chrono::seconds(20));
  program.write_input("A\n\nX\nX\nN\nX\n");
  program.close_stdin();
  run.status = program.wait_exit(std::chrono::seconds(30));
  read_until(program.stdout_fd(), run.screen, "\n", 1000000, std::chrono::seconds(5));
  read_until(program.stderr_fd(), run.errors, "\n", 1000000, std::chrono::milliseconds(200));
  return run;
}

std::vector<std::string> lines_of(const std::string& text) {
  test::SessionResult r;
  r.screen = text;
  return r.lines();
}

const std::string kWindowLost = "tambri: Bildfenster verloren, weiter ohne Fenster\n";

TEST(PictureWindow, ProgramKilledOffTheDisplayWhileAPictureWaitsGoesOnHeadlessToANormalEnd) {
  TAMBRI_REQUIRE_SDL2();
  TAMBRI_REQUIRE_WINDOW_TOOLS();
  TAMBRI_REQUIRE_X_WINDOW_TOOL();
  // xdotool windowkill closes the program's whole X connection, as xkill does.
  const DisturbedRun run = run_disturbed(Moment::PictureWaits, [](XServer& x, const std::string& id) {
    test::run_command("DISPLAY=" + x.display() + " xdotool windowkill " + id);
  });
  EXPECT_TRUE(run.picture_shown);
  EXPECT_EQ(run.status, std::optional<int>(0)) << run.errors;
  EXPECT_EQ(run.errors, kWindowLost);
  // The lost window ended the first wait; the second picture took a line.
  EXPECT_TRUE(test::contains_run(lines_of(run.screen), {"GENERATE\\ANZEIGE>A", "", "GENERATE\\ANZEIGE>A", "", "",
                                                        "GENERATE\\ANZEIGE>X", "", "GENERATE>X"}))
      << run.screen;
}

TEST(PictureWindow, WindowDestroyedOrDisplayGoneAtAPromptLeavesTheSessionToANormalEnd) {
  TAMBRI_REQUIRE_SDL2();
  TAMBRI_REQUIRE_WINDOW_TOOLS();
  TAMBRI_REQUIRE_X_WINDOW_TOOL();
  const std::vector<std::string> after_first_wait = {"GENERATE\\ANZEIGE>A", "", "", "GENERATE\\ANZEIGE>A", "", "",
                                                     "GENERATE\\ANZEIGE>X", "", "GENERATE>X"};
  const DisturbedRun destroyed = run_disturbed(Moment::AtPrompt, [](XServer& x, const std::string& id) {
    x_tool(x.display(), "destroy", id);
  });
  EXPECT_TRUE(destroyed.picture_shown);
  EXPECT_EQ(destroyed.status, std::optional<int>(0)) << destroyed.errors;
  EXPECT_EQ(destroyed.errors, kWindowLost);
  EXPECT_TRUE(test::contains_run(lines_of(destroyed.screen), after_first_wait)) << destroyed.screen;

  const DisturbedRun server_gone = run_disturbed(Moment::AtPrompt, [](XServer& x, const std::string&) { x.stop(); });
  EXPECT_TRUE(server_gone.picture_shown);
  EXPECT_EQ(server_gone.status, std::optional<int>(0)) << server_gone.errors;
  EXPECT_EQ(server_gone.errors, kWindowLost);
  EXPECT_TRUE(test::contains_run(lines_of(server_gone.screen), after_first_wait)) << server_gone.screen;
}

// A piped session with a picture, run in `env`; stdout and stderr.
// Each in a fresh folder with the example structure, so the folder (which
// XServer may also use) never holds a history.inp from an earlier session.
std::pair<std::string, std::string> piped_session(const test::TempDir&, const std::vector<std::string>& args,
                                                  const std::vector<std::string>& env) {
  test::TempDir dir;
  std::filesystem::copy_file(std::filesystem::path(TAMBRI_SOURCE_DIR) / "examples" / "kondensa.dat",
                             dir / "kondensa.dat");
  std::vector<std::string> argv = {TAMBRI_BINARY};
  argv.insert(argv.end(), args.begin(), args.end());
  Child program(argv, env, dir.path());
  program.write_input("kondensa.dat\nA\nA\n\nX\nX\nN\nX\n");
  program.close_stdin();
  std::string out, err;
  read_until(program.stdout_fd(), out, "TAMBRI>X", 1, std::chrono::seconds(30));
  program.wait_exit(std::chrono::seconds(30));
  read_until(program.stdout_fd(), out, "\n", 1000000, std::chrono::milliseconds(500));
  read_until(program.stderr_fd(), err, "\n", 1000000, std::chrono::milliseconds(500));
  return {out, err};
}

TEST(PictureWindow, WindowLibraryWritesNothingWithoutXdgRuntimeDirAndAMissingDisplayGivesOneLine) {
  TAMBRI_REQUIRE_SDL2();
  TAMBRI_REQUIRE_WINDOW_TOOLS();
  test::TempDir dir;
  const auto headless = piped_session(dir, {"--headless"}, {kNoLeakCheck});
  ASSERT_NE(headless.first.find("TAMBRI>X"), std::string::npos) << headless.first;
  EXPECT_EQ(headless.second, "");

  XServer x(dir.path());
  ASSERT_TRUE(x.running()) << "Xvfb did not start";
  // A Wayland socket name that cannot be found without XDG_RUNTIME_DIR.
  const auto windowed =
      piped_session(dir, {}, {"DISPLAY=" + x.display(), "XDG_RUNTIME_DIR", "WAYLAND_DISPLAY=wayland-0", kNoLeakCheck});
  EXPECT_EQ(windowed.first, headless.first);
  EXPECT_EQ(windowed.second, "");

  // The display of a server that is gone: no window, one line of our own.
  x.stop();
  const auto unreachable =
      piped_session(dir, {}, {"DISPLAY=" + x.display(), "XDG_RUNTIME_DIR", "WAYLAND_DISPLAY", kNoLeakCheck});
  EXPECT_EQ(unreachable.first, headless.first);
  EXPECT_EQ(unreachable.second, "tambri: Anzeige \"" + x.display() + "\" nicht erreichbar, Bilder nur als Dateien\n");
}

}  // namespace
}  // namespace tambri
