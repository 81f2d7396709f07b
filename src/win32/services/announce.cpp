// Announcements: a warning sound, and a screen reader's announcement where the system has UI
// Automation's notifications; see accessibility.h. uiautomationcore is loaded at the first
// announcement only, from the system folder, and stays loaded.
#include <windows.h>
// after windows.h
#include <oleauto.h>
#include <uiautomationcore.h>

#include <new>

#include "win32/system/system.h"
#include "win32/windows/accessibility.h"

namespace tw::win32 {

namespace {

// The UI Automation side of an announcement: a provider with nothing of its own, hosted by the
// window, so that readers name the window as its source. (The host provider of the window itself
// may not raise events, by its documentation.)
class AnnouncementSource final : public ComObject<IRawElementProviderSimple> {
 public:
  explicit AnnouncementSource(IRawElementProviderSimple* host) : host_(host) {}
  ~AnnouncementSource() override { host_->Release(); }
  AnnouncementSource(const AnnouncementSource&) = delete;
  AnnouncementSource& operator=(const AnnouncementSource&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid != __uuidof(IUnknown) && iid != __uuidof(IRawElementProviderSimple)) {
      return E_NOINTERFACE;
    }
    *out = static_cast<IRawElementProviderSimple*>(this);
    AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
    if (options == nullptr) return E_POINTER;
    *options = ProviderOptions_ServerSideProvider;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown** pattern) override {
    if (pattern == nullptr) return E_POINTER;
    *pattern = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID, VARIANT* value) override {
    if (value == nullptr) return E_POINTER;
    value->vt = VT_EMPTY;  // the host's
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override {
    if (host == nullptr) return E_POINTER;
    host_->AddRef();
    *host = host_;
    return S_OK;
  }

 private:
  IRawElementProviderSimple* host_;  // owned: one reference
};

struct Uia {
  HRESULT(WINAPI* hostProvider)(HWND, IRawElementProviderSimple**) = nullptr;
  // UiaRaiseNotificationEvent (Windows 10 1709): provider, kind, processing, text, activity.
  HRESULT(WINAPI* raiseNotification)(IRawElementProviderSimple*, int, int, BSTR, BSTR) = nullptr;
  decltype(&SysAllocString) allocString = nullptr;
  decltype(&SysFreeString) freeString = nullptr;
};

const Uia& UiaFunctions() {
  static const Uia uia = [] {
    constexpr wchar_t kCore[] = L"uiautomationcore.dll";
    return Uia{SystemFunction<decltype(Uia::hostProvider)>(kCore, "UiaHostProviderFromHwnd"),
               SystemFunction<decltype(Uia::raiseNotification)>(kCore, "UiaRaiseNotificationEvent"),
               SystemFunction<decltype(Uia::allocString)>(L"oleaut32.dll", "SysAllocString"),
               SystemFunction<decltype(Uia::freeString)>(L"oleaut32.dll", "SysFreeString")};
  }();
  return uia;
}

constexpr int kNotificationKindOther = 4;
constexpr int kNotificationProcessingImportantMostRecent = 1;

}  // namespace

void Announce(HWND window, const std::wstring& text) noexcept try {
  MessageBeep(MB_ICONWARNING);
  const Uia& uia = UiaFunctions();
  if (!uia.hostProvider || !uia.raiseNotification || !uia.allocString || !uia.freeString) return;
  IRawElementProviderSimple* host = nullptr;
  if (FAILED(uia.hostProvider(window, &host)) || host == nullptr) return;
  auto* source = new (std::nothrow) AnnouncementSource(host);
  if (source == nullptr) {
    host->Release();
    return;
  }
  const BSTR display = uia.allocString(text.c_str());
  const BSTR activity = uia.allocString(L"Typewell");
  if (display != nullptr && activity != nullptr) {
    uia.raiseNotification(source, kNotificationKindOther,
                          kNotificationProcessingImportantMostRecent, display, activity);
  }
  uia.freeString(display);
  uia.freeString(activity);
  source->Release();
} catch (...) {
  // no memory to load the libraries: the sound alone
}

}  // namespace tw::win32
