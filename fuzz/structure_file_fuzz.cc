// The structure-file reader on arbitrary bytes. Whatever it takes must stay
// within the capacities, a file it accepts must rasterise, and writing an
// accepted model out and reading it back must give the same bytes.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "core/rasterise.h"
#include "model/structure_file.h"
#include "model/structure_model.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tambri;
  static const auto model = std::make_unique<StructureModel>();
  reset_for_loading(*model);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const StructureReadResult result = decode_structure(bytes, *model);
  const Grid& g = model->grid;
  check(g.nx >= 0 && g.nx <= kMaxLines && g.ny >= 0 && g.ny <= kMaxLines);
  check(model->sequence_length >= 0 && model->sequence_length <= kMaxSequence);
  if (result.status != StructureReadStatus::kOk) return 0;
  rasterise(*model);
  static const auto again = std::make_unique<StructureModel>();
  reset_for_loading(*again);
  const std::string written = encode_structure(*model);
  check(decode_structure(written, *again).status == StructureReadStatus::kOk);
  check(encode_structure(*again) == written);
  return 0;
}
