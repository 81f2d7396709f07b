#include "app/lifecycle.h"

namespace tw::app {

void WireLifecycle(app::App&) {}

}  // namespace tw::app
