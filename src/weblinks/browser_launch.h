// Handlers of the Tutorial and Web Site buttons.
#pragma once

#include "app/app.h"

namespace tw::weblinks {

// Connects the handlers to the controls' events.
void WireWebLinks(app::App& app);

}  // namespace tw::weblinks
