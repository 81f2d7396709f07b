// The "Tutorial" and "Web Site" buttons: the program registered for ".htm" files is looked up on
// a placeholder "~.htm" in the program folder and started with the page; the main window then
// gets out of the browser's way (minimised). Without a registered program nothing happens.
#pragma once

#include <string>

#include "services/shell.h"
#include "ui/main_view.h"

namespace tw::weblinks {

inline constexpr wchar_t kPlaceholderName[] = L"~.htm";
inline constexpr wchar_t kTutorialPage[] = L"tutorial/tutorial.htm";

// The web page of "Web Site": a build setting.
std::wstring WebSiteAddress();

// The command line that starts a browser with a page: both parts quoted, so that a browser in a
// folder with blanks is not taken for a shorter program name and a page path with blanks stays
// one argument.
std::wstring BrowserCommandLine(const std::wstring& browser, const std::wstring& page);

class BrowserLaunch {
 public:
  // programFolder ends in a separator.
  BrowserLaunch(services::Shell& shell, ui::MainView& view, std::wstring programFolder)
      : shell_(shell), view_(view), programFolder_(std::move(programFolder)) {}

  // The tutorial below the program folder, named with a forward slash.
  void OpenTutorial() { Open(programFolder_ + kTutorialPage); }
  void OpenWebSite() { Open(WebSiteAddress()); }

 private:
  void Open(const std::wstring& page);

  services::Shell& shell_;
  ui::MainView& view_;
  std::wstring programFolder_;
};

}  // namespace tw::weblinks
