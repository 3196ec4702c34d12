#include "text/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace tambri {
namespace {

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

CreateResult create_new_file(const std::string& path) {
  if (path.empty()) return CreateResult::kFailed;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST ? CreateResult::kExists : CreateResult::kFailed;
  ::close(fd);
  return CreateResult::kCreated;
}

bool can_overwrite(const std::string& path) {
  if (path.empty()) return false;
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  return regular;
}

ReplaceResult replace_file(const std::string& name, std::string_view bytes) {
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(name, ec);
  const std::string path = ec ? name : real.string();
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return ReplaceResult::kOpenFailed;
  // The new content keeps the old file's permissions; a new file gets those
  // any file the program creates gets (mkstemp's are private).
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    ::fchmod(fd, st.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  bool ok = write_all(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok ? ReplaceResult::kDone : ReplaceResult::kWriteFailed;
}

}  // namespace tambri
