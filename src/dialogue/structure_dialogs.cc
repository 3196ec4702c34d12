#include "dialogue/structure_dialogs.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "dialogue/questions.h"
#include "dialogue/uncovered_parts.h"
#include "model/structure_file.h"
#include "text/files.h"
#include "text/text_width.h"

namespace tambri {
namespace {

constexpr int kNameWidth = 12;

bool cancels(const std::string& name) { return name.empty() || name[0] == ' '; }

bool open_for_reading(const std::string& name, std::ifstream& file) {
  const std::string path = trim_trailing_blanks(name);
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
  file.open(path, std::ios::binary);
  return file.is_open();
}

// --- load ---

// Reads the opened file into the model and rasterises it; false (with the
// message written) when the file is refused.
bool read_structure(Console& console, StructureModel& model, std::ifstream& file) {
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const StructureReadResult result = decode_structure(bytes, model);
  if (result.status == StructureReadStatus::kWrongVersion) {
    console.message(" ### Eingabedatei nicht unter " + model.version_tag + " erstellt ###");
    console.record(" ### Neueingabe erforderlich ###");
    console.empty_line();
    return false;
  }
  if (result.records_read >= 2) console.message(traits_of(model.problem).loaded_line);
  switch (result.status) {
    case StructureReadStatus::kOk:
      rasterise_and_report(console, model);
      console.record(" *** Input ready ***");
      return true;
    case StructureReadStatus::kTooShort: console.message(" ### Strukturdatei zu kurz ###"); return false;
    default: console.message(" ### Fehler in Strukturdatei ###"); return false;
  }
}

// The new-problem menu; false when the user leaves it with X.
bool start_new_problem(Console& console, StructureModel& model) {
  const std::optional<FieldProblem> problem = choose_field_problem(console, /*offer_exit=*/true);
  if (!problem) return false;
  model.problem = *problem;
  reset_tables_for_new_problem(model);
  rasterise(model);  // no grid and no parts: clears what an earlier structure left
  return true;
}

// Asks for the file and loads it, or starts a new problem.
LoadOutcome load_or_start(Console& console, StructureModel& model) {
  std::ifstream file;
  bool name_given = false;  // the answer to the remembered-name prompt named another file
  if (std::optional<std::string> remembered = read_history()) {
    model.output_stem = output_stem_of(*remembered);
    if (open_for_reading(*remembered, file)) {
      console.prompt_after_empty_line(" Strukturdatei (" + *remembered + "):");
      const std::string answer = console.read_text(kNameWidth);
      if (cancels(answer)) {
        model.file_name = *remembered;
        return read_structure(console, model, file) ? LoadOutcome::kLoaded : LoadOutcome::kRefused;
      }
      file.close();
      model.file_name = answer;
      name_given = true;
    }
  }
  if (!name_given) {
    console.prompt_after_empty_line(" Strukturdatei:");
    model.file_name = console.read_text(kNameWidth);
    if (cancels(model.file_name)) return LoadOutcome::kRefused;
  }
  model.output_stem = output_stem_of(model.file_name);
  if (open_for_reading(model.file_name, file)) {
    return read_structure(console, model, file) ? LoadOutcome::kLoaded : LoadOutcome::kRefused;
  }
  console.message(" *** Datei nicht vorhanden ***");
  console.empty_line();
  return start_new_problem(console, model) ? LoadOutcome::kNewProblem : LoadOutcome::kRefused;
}

// --- save ---

}  // namespace

std::optional<std::string> read_history() {
  std::ifstream in(kHistoryFile, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return pad_to_width(line, kNameWidth);
}

// Replaced whole like every other file: a run ended in the middle (Ctrl-C
// with piped input) must not leave the next start an empty name. A failure
// is as silent as it always was: the old name is offered again.
void write_history(const std::string& file_name) {
  replace_file(kHistoryFile, pad_to_width(file_name, kNameWidth) + "\r\n");
}

LoadOutcome load_dialogue(Console& console, StructureModel& model) {
  reset_for_loading(model);
  const LoadOutcome outcome = load_or_start(console, model);
  if (outcome != LoadOutcome::kRefused) write_history(model.file_name);
  return outcome;
}

void save_dialogue(Console& console, const StructureModel& model) {
  std::string path = trim_trailing_blanks(model.file_name);
  CreateResult result = create_new_file(path);
  while (result != CreateResult::kCreated) {
    if (result == CreateResult::kExists) {
      if (ask_yes_after_empty_line(console, " Datei überschreiben [Y/N]:")) {
        if (!can_overwrite(path)) {
          console.message(" ### Fehler bei Dateieröffnung ###");
          return;
        }
        break;
      }
    } else {
      // No folder of that name, or no permission: there is nothing to
      // overwrite, so another name is asked for at once.
      console.message(" ### Fehler bei Dateieröffnung ###");
    }
    console.prompt(" Neue Strukturdatei:");
    const std::string name = console.read_text(kNameWidth);
    if (cancels(name)) return;
    path = trim_trailing_blanks(name);
    result = create_new_file(path);
  }
  const bool created = result == CreateResult::kCreated;

  switch (replace_file(path, encode_structure(model))) {
    case ReplaceResult::kDone: console.record(" *** Save ready ***"); return;
    case ReplaceResult::kOpenFailed: console.message(" ### Fehler bei Dateieröffnung ###"); break;
    case ReplaceResult::kWriteFailed: console.message(" ### Schreibfehler ###"); break;
  }
  // The empty file that only reserved a new name must not pass for a structure.
  if (created) ::unlink(path.c_str());
}

}  // namespace tambri
