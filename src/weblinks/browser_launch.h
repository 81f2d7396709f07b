// The "Tutorial" and "Web Site" buttons: the program registered for ".htm" files is looked up
// on a placeholder "~.htm" in the program folder and started with the page; the main window
// then gets out of the browser's way (minimised).
#pragma once

#include <string>

#include "core/app.h"

namespace tw::weblinks {

inline constexpr const char* kPlaceholderName = "~.htm";
inline constexpr const char* kTutorialPage = "tutorial/tutorial.htm";

// The web page that "Web Site" opens: a build setting.
const char* WebsiteAddress();

// The command line that starts a browser with a page: both parts quoted, so that a browser under
// a folder with blanks is not mistaken for a shorter program name and a page path with blanks
// stays one argument.
std::string BrowserCommandLine(const std::string& browser, const std::string& page);

void Command1_Click(core::App& app);    // "Tutorial"
void WebsiteBtn_Click(core::App& app);  // "Web Site"

// Connects the handlers to the controls' events.
void WireWebLinks(core::App& app);

}  // namespace tw::weblinks
