#pragma once
// Files the dialogue creates and replaces in the working directory. A file
// that already holds something is only ever replaced by a complete new one.
#include <optional>
#include <string>
#include <string_view>

#include "text/interrupt.h"

namespace tambri {

enum class CreateResult {
  kCreated,
  kExists,  // something of that name is there already
  kFailed,  // it cannot be made: no such folder, no permission, no name
};

// Creates `path` as a new empty file unless something of that name exists.
CreateResult create_new_file(const std::string& path);

// Whether an existing regular file could be opened to be overwritten; the
// file is not changed.
bool can_overwrite(const std::string& path);

// A new content for `path`, written under a temporary name beside it and
// renamed over it by commit() once complete, so `path` always holds either the
// old or the whole new content. A symbolic link is followed: the link stays
// and the file it names is replaced. The new content keeps the old file's
// permissions (a new file gets the usual ones). Not committed, it is removed.
// A target that exists but is no regular file (a device, a pipe) is written
// directly: there is nothing there to keep, and it must not be replaced.
// While a temporary file exists SIGINT is held back: Ctrl-C, or its default
// action with piped input, comes after the rename or the removal, so it never
// leaves the temporary file behind.
class PendingFile {
 public:
  explicit PendingFile(const std::string& path);
  ~PendingFile() { abandon(); }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Whether the temporary file could be made; -1 without one.
  bool opened() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  // Writes all of `bytes`; false on a failure (after which commit() fails).
  bool write(std::string_view bytes);
  // Closes and renames; with `sync` the content is on the disk first. False,
  // and the temporary file removed, when anything failed.
  bool commit(bool sync);
  // Closes and removes the temporary file; the old content stays.
  void abandon();

 private:
  std::string target_;
  std::string temp_;  // empty when the target is written directly
  int fd_ = -1;
  bool failed_ = false;
  std::optional<InterruptsHeld> held_;
};

enum class ReplaceResult {
  kDone,
  kOpenFailed,   // no temporary file could be made beside the target
  kWriteFailed,  // writing, syncing or renaming failed; the target is untouched
};

// `bytes` as the new content of `path` through a PendingFile, on the disk
// before the rename.
ReplaceResult replace_file(const std::string& path, std::string_view bytes);

}  // namespace tambri
