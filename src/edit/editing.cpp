#include "edit/editing.h"

namespace tw::edit {

void WireEditing(app::App&) {}

}  // namespace tw::edit
