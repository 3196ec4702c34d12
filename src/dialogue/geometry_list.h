#pragma once
// The running list of all parts, numbered over all shapes in order of entry
// ("Lfd. Nr."), and the two operations that pick a part from it: delete, and
// edit through the part's entry dialogue. The caller rasterises afterwards.
// EndOfInput from the console propagates.
#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

// Lists the parts; unless `list_only`, then asks for a running number and
// deletes that part (later parts move up one place in their list and in the
// entry sequence).
void list_or_delete(Console& console, StructureModel& model, bool list_only);

// Lists the parts, asks for a running number and re-enters that part in edit
// mode; it keeps its running number.
void edit_part(Console& console, StructureModel& model);

}  // namespace tambri
