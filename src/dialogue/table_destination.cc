#include "dialogue/table_destination.h"

#include <string>

#include "text/files.h"
#include "text/text_width.h"

namespace tambri {
namespace {

constexpr int kFileNameWidth = 30;

}  // namespace

std::unique_ptr<FileRecordSink> choose_table_destination(Console& console, OverwriteRule rule) {
  for (;;) {
    console.prompt(" Ausgabedatei (<Return> Terminal):");
    const std::string name = console.read_text(kFileNameWidth);
    if (name[0] == ' ') return nullptr;
    const std::string path = trim_trailing_blanks(name);
    if (rule == OverwriteRule::kAsk) {
      const CreateResult created = create_new_file(path);
      if (created == CreateResult::kFailed) {
        // Nothing there to overwrite: no such folder, or no permission.
        console.message(" ### Fehler bei Dateieröffnung ###");
        continue;
      }
      if (created == CreateResult::kExists) {
        console.prompt(" Datei vorhanden - überschreiben? [y/n]:");
        if (console.read_letter() != 'Y') return nullptr;
      }
    }
    auto file = std::make_unique<FileRecordSink>(path);
    if (file->ok()) return file;
    console.message(" ### Fehler bei Dateieröffnung ###");
  }
}

}  // namespace tambri
