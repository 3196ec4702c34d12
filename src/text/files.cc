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

PendingFile::PendingFile(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(path, ec);
  target_ = ec ? path : real.string();
  struct stat st {};
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) {
    fd_ = S_ISDIR(st.st_mode) ? -1 : ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    return;
  }
  temp_ = target_ + ".XXXXXX";
  held_.emplace();
  fd_ = ::mkstemp(temp_.data());
  if (fd_ < 0) {
    temp_.clear();
    held_.reset();
    return;
  }
  // mkstemp's files are private; the new content gets the old permissions,
  // or those any file the program creates gets.
  if (exists) {
    ::fchmod(fd_, st.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
  }
}

bool PendingFile::write(std::string_view bytes) {
  if (fd_ < 0 || failed_ || !write_all(fd_, bytes)) failed_ = true;
  return !failed_;
}

bool PendingFile::commit(bool sync) {
  if (fd_ < 0) return false;
  bool ok = !failed_ && (!sync || temp_.empty() || ::fsync(fd_) == 0);
  ok = ::close(fd_) == 0 && ok;
  fd_ = -1;
  if (temp_.empty()) return ok;
  ok = ok && std::rename(temp_.c_str(), target_.c_str()) == 0;
  if (!ok) ::unlink(temp_.c_str());
  held_.reset();
  return ok;
}

void PendingFile::abandon() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  held_.reset();
}

ReplaceResult replace_file(const std::string& path, std::string_view bytes) {
  PendingFile file(path);
  if (!file.opened()) return ReplaceResult::kOpenFailed;
  file.write(bytes);
  return file.commit(/*sync=*/true) ? ReplaceResult::kDone : ReplaceResult::kWriteFailed;
}

}  // namespace tambri
