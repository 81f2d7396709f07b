#include "weblinks/browser_launch.h"

namespace tw::weblinks {

void WireWebLinks(app::App&) {}

}  // namespace tw::weblinks
