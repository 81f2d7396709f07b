// Accessible names; see accessibility.h.
//
// The name comes from a thin wrapper around the system's own accessible object of the control
// (CreateStdAccessibleObject), handed out on WM_GETOBJECT: it answers the name and passes every
// other question on, so role, state, place and default action stay the system's, and UI
// Automation's readers get the same object through its proxy for such objects. It asks the
// control for the name at each reading, so a reader that keeps the object hears a changed name.
// Dynamic Annotation (IAccPropServices::SetHwndPropStr) would name the system's object on
// Windows with less code, but Wine 8's oleacc does not carry it out (E_NOTIMPL), so no test here
// could read such a name; the wrapper is read alike on both.
//
// oleacc, ole32 and oleaut32 are loaded at the first WM_GETOBJECT (nothing of them is needed to
// start), from the system folder, and stay loaded: the objects handed to readers run their code.
#include "win32/accessibility.h"

#include <oleacc.h>

#include <new>

#include "win32/system.h"

namespace tw::win32 {

namespace {

struct Msaa {
  decltype(&CreateStdAccessibleObject) createStandard = nullptr;
  decltype(&LresultFromObject) lresultFromObject = nullptr;
  decltype(&SysAllocString) allocString = nullptr;
};

// Loaded on the window thread's first WM_GETOBJECT, which also joins COM there: LresultFromObject
// marshals the object through COM, and a thread joins COM before it calls COM's functions (Wine 8
// marshals it without; Windows documents no such leniency).
const Msaa& MsaaFunctions() {
  static const Msaa msaa = [] {
    const auto join = SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    if (join != nullptr) join(nullptr, COINIT_APARTMENTTHREADED);
    return Msaa{
        SystemFunction<decltype(Msaa::createStandard)>(L"oleacc.dll", "CreateStdAccessibleObject"),
        SystemFunction<decltype(Msaa::lresultFromObject)>(L"oleacc.dll", "LresultFromObject"),
        SystemFunction<decltype(Msaa::allocString)>(L"oleaut32.dll", "SysAllocString")};
  }();
  return msaa;
}

// The system's accessible object of a control under the name that the control gives at each
// reading. IEnumVARIANT and IOleWindow are the standard object's own; no other interface is
// passed on (an IMarshal of the standard object would hand the reader that object instead).
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(HWND control, IAccessible* standard) : control_(control), standard_(standard) {}
  ~NamedAccessible() { standard_->Release(); }
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    if (iid == __uuidof(IEnumVARIANT) || iid == __uuidof(IOleWindow)) {
      return standard_->QueryInterface(iid, out);
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (name == nullptr) return E_POINTER;
    std::wstring text;
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF || !IsWindow(control_) ||
        SendMessageW(control_, accessibility_detail::NameQueryMessage(), 0,
                     reinterpret_cast<LPARAM>(&text)) == 0) {
      return standard_->get_accName(child, name);
    }
    *name = MsaaFunctions().allocString(text.c_str());
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  // Everything else is the standard object's.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* badArgument) override {
    return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, badArgument);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return standard_->get_accHelp(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return standard_->get_accKeyboardShortcut(child, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override {
    return standard_->accSelect(how, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  LONG references_ = 1;
  HWND control_;
  IAccessible* standard_;  // owned: one reference
};

}  // namespace

namespace accessibility_detail {

std::optional<LRESULT> AnswerGetObject(HWND control, WPARAM wParam, LPARAM lParam) noexcept try {
  if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return std::nullopt;
  const Msaa& msaa = MsaaFunctions();
  if (!msaa.createStandard || !msaa.lresultFromObject || !msaa.allocString) return std::nullopt;
  IAccessible* standard = nullptr;
  if (FAILED(msaa.createStandard(control, OBJID_CLIENT, __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&standard))) ||
      standard == nullptr) {
    return std::nullopt;
  }
  auto* named = new (std::nothrow) NamedAccessible(control, standard);
  if (named == nullptr) {
    standard->Release();
    return std::nullopt;
  }
  // LresultFromObject takes references of its own, which the reader's side releases.
  const LRESULT result = msaa.lresultFromObject(__uuidof(IAccessible), wParam, named);
  named->Release();
  if (result <= 0) return std::nullopt;  // an error: the system's own object serves instead
  return result;
} catch (...) {
  return std::nullopt;  // no memory to load the libraries
}

UINT NameQueryMessage() noexcept {
  static const UINT message = RegisterWindowMessageW(L"TypewellAccessibleName");
  return message;
}

}  // namespace accessibility_detail

void NotifyNameChanged(HWND control) noexcept {
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace tw::win32
