#pragma once
// Files the dialogue creates and replaces in the working directory. A file
// that already holds something is only ever replaced by a complete new one.
#include <string>
#include <string_view>

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

enum class ReplaceResult {
  kDone,
  kOpenFailed,   // no temporary file could be made beside the target
  kWriteFailed,  // writing, syncing or renaming failed; the target is untouched
};

// Writes `bytes` to a temporary file beside `path` and renames it over `path`
// once it is complete and on disk, so `path` always holds either the old or the
// new content and no temporary file is left behind. A symbolic link is
// followed: the link stays and the file it names is replaced.
ReplaceResult replace_file(const std::string& path, std::string_view bytes);

}  // namespace tambri
