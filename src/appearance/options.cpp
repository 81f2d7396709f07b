#include "appearance/options.h"

namespace tw::appearance {

void WireOptions(app::App&) {}

}  // namespace tw::appearance
