#include "edit/pages_and_drag.h"

namespace tw::edit {

void WirePagesAndDrag(app::App&) {}

}  // namespace tw::edit
