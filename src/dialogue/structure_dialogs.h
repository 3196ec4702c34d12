#pragma once
// The load and save dialogues of the structure file, and "history.inp", which
// remembers the name of the last structure file. Every file is relative to the
// working directory.
#include <optional>
#include <string>

#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

inline constexpr const char* kHistoryFile = "history.inp";

enum class LoadOutcome {
  kLoaded,      // a structure file was read and rasterised
  kNewProblem,  // the named file is missing and a new empty problem was started
  kRefused,     // blank name, X, or a damaged or foreign file: no structure
};

// Loads the remembered or a named structure file (and rasterises it), or starts
// a new empty problem of a chosen field type when the named file is missing.
// Rewrites history.inp after a load or a new start.
LoadOutcome load_dialogue(Console& console, StructureModel& model);

// Saves the model under its file name, asking before an existing file is
// replaced and offering another name instead. The file on disk is replaced
// only by a completely written one: on a failure the old file is untouched.
// Saving under another name leaves the model's name and history.inp alone.
void save_dialogue(Console& console, const StructureModel& model);

// The remembered name, 12 characters blank-padded; none when history.inp is
// missing or empty.
std::optional<std::string> read_history();

// Rewrites history.inp with the 12-character name and CR LF; failures are silent.
void write_history(const std::string& file_name);

}  // namespace tambri
