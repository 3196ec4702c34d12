#pragma once
// The structure file as bytes: twelve logical records holding every persistent
// member of the model, cut into framed blocks on disk. Pure functions, no files
// and no console: the dialogues (structure_dialogs.h) do the I/O.
//
// Framing: the file starts with 0x4B and ends with 0x82. A record lies on disk
// as blocks of at most 128 bytes, each framed by the same length byte before and
// after its data; a full block followed by more of the record is framed by 0x81,
// the last block by its length 0..128, so a record whose length is a multiple of
// 128 (an empty one too) ends with the empty block 0x00 0x00.
#include <string>
#include <string_view>

#include "model/structure_model.h"

namespace tambri {

// The complete file content of the model, end mark included.
std::string encode_structure(const StructureModel& model);

enum class StructureReadStatus {
  kOk,
  kTooShort,      // the file ends where a further record is expected
  kError,         // damaged framing, a record shorter than its content, a count out of range
  kWrongVersion,  // record 1 is not the model's version tag
};

struct StructureReadResult {
  StructureReadStatus status;
  int records_read;  // complete records taken into the model (0..12)
};

// Reads the file content into the model record by record; on a failure the
// model keeps the records read before it. Counts beyond the capacities (or
// negative) are an error, so nothing is ever stored beyond a capacity. Does not
// reset the model and does not rasterise.
StructureReadResult decode_structure(std::string_view bytes, StructureModel& model);

// True when the entry sequence holds only shape codes and names every part of
// every list exactly once. The list, edit and delete dialogues rely on it, so a
// file that breaks it is refused as damaged.
bool sequence_matches_lists(const StructureModel& model);

}  // namespace tambri
