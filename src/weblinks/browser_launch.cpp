#include "weblinks/browser_launch.h"

#include "store/binary_file.h"

namespace tw::weblinks {

std::wstring WebSiteAddress() {
  const std::string address = TYPEWELL_WEBSITE_URL;
  return std::wstring(address.begin(), address.end());
}

std::wstring BrowserCommandLine(const std::wstring& browser, const std::wstring& page) {
  return L"\"" + browser + L"\" \"" + page + L"\"";
}

void BrowserLaunch::Open(const std::wstring& page) {
  // The placeholder is made when missing (an existing one keeps its bytes). A program folder
  // where it cannot be made (read-only) leaves nothing to look up: the click does nothing.
  try {
    store::BinaryFile(programFolder_ + kPlaceholderName).Close();
  } catch (const store::FileError&) {
    return;
  }
  const auto browser = shell_.FindExecutable(kPlaceholderName, programFolder_);
  if (!browser) return;
  shell_.StartProgram(BrowserCommandLine(*browser, page));
  view_.Minimize();
}

}  // namespace tw::weblinks
