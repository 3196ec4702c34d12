// The picture window on a real X server: Xvfb runs the driver's pictures, xwd
// takes a screenshot of the window, which must show exactly the bitmap the
// same picture saved (apart from the " <Return>" that the frame writes after
// saving); xdotool presses Return in the window.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
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
  // Starts `argv` in `dir` with `extra_env` added; its stdin and stdout are
  // pipes, `keep_fd` (if not -1) stays open in it.
  Child(const std::vector<std::string>& argv, const std::vector<std::string>& extra_env,
        const std::filesystem::path& dir, int keep_fd = -1) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    std::vector<std::string> env_strings(extra_env);
    for (char** e = environ; *e; ++e) {
      const std::string entry(*e);
      const std::string name = entry.substr(0, entry.find('=') + 1);
      bool replaced = false;
      for (const std::string& extra : extra_env) replaced = replaced || extra.rfind(name, 0) == 0;
      if (!replaced) env_strings.push_back(entry);
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
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 2);
      for (int fd = 3; fd < 256; ++fd) {
        if (fd != keep_fd) close(fd);
      }
      if (chdir(cwd.c_str()) == 0) execvpe(args[0], args.data(), env.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    stdin_ = in[1];
    stdout_ = out[0];
  }
  ~Child() {
    if (stdin_ >= 0) close(stdin_);
    if (stdout_ >= 0) close(stdout_);
    if (pid_ > 0 && !status_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool started() const { return pid_ > 0; }
  int stdin_fd() const { return stdin_; }
  int stdout_fd() const { return stdout_; }

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

// Pixels as 0xRRGGBB, row by row.
using Pixels = std::vector<std::uint32_t>;
constexpr int kWidth = GraphicsSurface::kWidth, kHeight = GraphicsSurface::kHeight;

std::uint32_t be32(const std::string& b, size_t at) {
  std::uint32_t v = 0;
  for (size_t k = 0; k < 4; ++k) v = v << 8 | static_cast<std::uint8_t>(b[at + k]);
  return v;
}

// An 800 x 630 window dump as xwd writes it on a TrueColor server: 32-bit
// ZPixmap with 8-bit channels.
std::optional<Pixels> parse_xwd(const std::string& b) {
  if (b.size() < 100 || be32(b, 8) != 2 || be32(b, 16) != kWidth || be32(b, 20) != kHeight ||
      be32(b, 44) != 32) {
    return std::nullopt;
  }
  const std::uint32_t bytes_per_line = be32(b, 48), red = be32(b, 56), green = be32(b, 60), blue = be32(b, 64);
  const size_t data = be32(b, 0) + 12 * static_cast<size_t>(be32(b, 76));
  if (b.size() < data + static_cast<size_t>(bytes_per_line) * kHeight) return std::nullopt;
  const bool lsb_first = be32(b, 28) == 0;
  const auto channel = [](std::uint32_t v, std::uint32_t mask) { return (v & mask) >> __builtin_ctz(mask); };
  Pixels out;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
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

TEST(PictureWindow, ScreenshotShowsTheSavedBitmapAndReturnInTheWindowOrOnStdinEndsTheWait) {
#ifndef TAMBRI_HAVE_SDL2
  if (std::getenv("CI")) FAIL() << "built without SDL2";
  GTEST_SKIP() << "built without SDL2";
#endif
  TAMBRI_REQUIRE_PROGRAM("Xvfb");
  TAMBRI_REQUIRE_PROGRAM("xwd");
  TAMBRI_REQUIRE_PROGRAM("xdotool");
  test::TempDir dir;

  // Xvfb picks a free display number and reports it through the pipe.
  int display_pipe[2];
  ASSERT_EQ(pipe(display_pipe), 0);
  Child xvfb({"Xvfb", "-displayfd", std::to_string(display_pipe[1]), "-screen", "0", "1024x768x24",
              "-nolisten", "tcp"},
             {}, dir.path(), display_pipe[1]);
  close(display_pipe[1]);
  ASSERT_TRUE(xvfb.started());
  const std::string number = read_line_from(display_pipe[0], std::chrono::seconds(30));
  close(display_pipe[0]);
  ASSERT_FALSE(number.empty()) << "Xvfb did not start";
  const std::string display = ":" + number;

  const std::string first = (dir / "erstes.bmp").string(), second = (dir / "zweites.bmp").string(),
                    third = (dir / "drittes.bmp").string();
  // In a sanitized build the driver's leak check is off: SDL's D-Bus and X11
  // libraries keep allocations to the end of the process and are unloaded
  // before the check could even name them. (The surface and the frame are
  // leak-checked by the other tests.)
  Child driver({TAMBRI_WINDOW_DRIVER, first, second, third},
               {"DISPLAY=" + display, "ASAN_OPTIONS=detect_leaks=0"}, dir.path());
  ASSERT_TRUE(driver.started());

  // The window appears when the first picture waits; take screenshots until
  // it shows the whole picture.
  const std::string shot_path = (dir / "fenster.xwd").string();
  std::pair<int, int> last{-1, -1};
  std::string problem = "no screenshot taken";
  const auto end = Clock::now() + std::chrono::seconds(30);
  while (!problem.empty() && Clock::now() < end) {
    if (driver.wait_exit(std::chrono::milliseconds(0))) {
      problem = "driver ended early";
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const test::CommandResult xwd =
        test::run_command("xwd -silent -display " + display + " -name TAMBRI -out '" + shot_path + "'");
    const std::optional<Pixels> shot = parse_xwd(test::read_file(shot_path));
    const std::optional<Pixels> bitmap = parse_bmp(test::read_file(first));
    if (xwd.status != 0 || !shot || !bitmap) {
      problem = "no 800 x 630 screenshot and bitmap: " + xwd.output;
      continue;
    }
    last = differences(*shot, *bitmap);
    problem = last.first == 0 && last.second > 0 ? "" : "pixels differ";
  }
  EXPECT_EQ(problem, "") << "outside the prompt: " << last.first << ", in the prompt: " << last.second;

  // Return pressed in the window ends the first wait: the second picture
  // saves its bitmap.
  const test::CommandResult key = test::run_command(
      "DISPLAY=" + display + " timeout 20 sh -c 'xdotool windowfocus --sync $(xdotool search --name TAMBRI | head -n 1) key Return'");
  EXPECT_EQ(key.status, 0) << key.output;
  bool second_shown = false;
  for (const auto end_key = Clock::now() + std::chrono::seconds(20); !second_shown && Clock::now() < end_key;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    second_shown = std::filesystem::exists(second);
  }
  ASSERT_TRUE(second_shown) << "Return in the window did not end the wait";

  // Two lines in one write: the third wait must find its line in the buffer.
  ASSERT_EQ(write(driver.stdin_fd(), "\n\n", 2), 2);
  const std::optional<int> status = driver.wait_exit(std::chrono::seconds(30));
  ASSERT_TRUE(status.has_value()) << "the last picture did not take the buffered line";
  EXPECT_EQ(*status, 0);
  EXPECT_EQ(read_line_from(driver.stdout_fd(), std::chrono::seconds(5)), "done");
  EXPECT_TRUE(std::filesystem::exists(third));
}

}  // namespace
}  // namespace tambri
