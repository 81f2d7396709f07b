#include "fill/filling.h"

namespace tw::fill {

void WireFilling(app::App&) {}

}  // namespace tw::fill
