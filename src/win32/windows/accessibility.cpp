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
#include "win32/windows/accessibility.h"

#include <oleacc.h>

#include <new>

#include "win32/system/system.h"
#include "win32/windows/controls.h"

namespace tw::win32 {

namespace {

struct Msaa {
  decltype(&CreateStdAccessibleObject) createStandard = nullptr;
  decltype(&CreateStdAccessibleProxyW) createProxy = nullptr;
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
        SystemFunction<decltype(Msaa::createProxy)>(L"oleacc.dll", "CreateStdAccessibleProxyW"),
        SystemFunction<decltype(Msaa::lresultFromObject)>(L"oleacc.dll", "LresultFromObject"),
        SystemFunction<decltype(Msaa::allocString)>(L"oleaut32.dll", "SysAllocString")};
  }();
  return msaa;
}

// The system's accessible object of a control under the name that the control gives at each
// reading. IEnumVARIANT and IOleWindow are the standard object's own; no other interface is
// passed on (an IMarshal of the standard object would hand the reader that object instead).
class NamedAccessible final : public ComObject<IAccessible> {
 public:
  NamedAccessible(HWND control, IAccessible* standard) : control_(control), standard_(standard) {}
  ~NamedAccessible() override { standard_->Release(); }
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

  // Everything else is the standard object's: each method passes its arguments on.
  // clang-format off
#define TYPEWELL_PASS_ON(method, parameters, arguments) \
  HRESULT STDMETHODCALLTYPE method parameters override { return standard_->method arguments; }
  TYPEWELL_PASS_ON(GetTypeInfoCount, (UINT* count), (count))
  TYPEWELL_PASS_ON(GetTypeInfo, (UINT index, LCID locale, ITypeInfo** info), (index, locale, info))
  TYPEWELL_PASS_ON(GetIDsOfNames,
                   (REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids),
                   (iid, names, count, locale, ids))
  TYPEWELL_PASS_ON(Invoke,
                   (DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                    VARIANT* result, EXCEPINFO* exception, UINT* badArgument),
                   (id, iid, locale, flags, parameters, result, exception, badArgument))
  TYPEWELL_PASS_ON(get_accParent, (IDispatch** parent), (parent))
  TYPEWELL_PASS_ON(get_accChildCount, (LONG* count), (count))
  TYPEWELL_PASS_ON(get_accChild, (VARIANT child, IDispatch** object), (child, object))
  TYPEWELL_PASS_ON(get_accValue, (VARIANT child, BSTR* value), (child, value))
  TYPEWELL_PASS_ON(get_accDescription, (VARIANT child, BSTR* text), (child, text))
  TYPEWELL_PASS_ON(get_accRole, (VARIANT child, VARIANT* role), (child, role))
  TYPEWELL_PASS_ON(get_accState, (VARIANT child, VARIANT* state), (child, state))
  TYPEWELL_PASS_ON(get_accHelp, (VARIANT child, BSTR* text), (child, text))
  TYPEWELL_PASS_ON(get_accHelpTopic, (BSTR* file, VARIANT child, LONG* topic),
                   (file, child, topic))
  TYPEWELL_PASS_ON(get_accKeyboardShortcut, (VARIANT child, BSTR* keys), (child, keys))
  TYPEWELL_PASS_ON(get_accFocus, (VARIANT* child), (child))
  TYPEWELL_PASS_ON(get_accSelection, (VARIANT* children), (children))
  TYPEWELL_PASS_ON(get_accDefaultAction, (VARIANT child, BSTR* action), (child, action))
  TYPEWELL_PASS_ON(accSelect, (LONG how, VARIANT child), (how, child))
  TYPEWELL_PASS_ON(accLocation, (LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child),
                   (left, top, width, height, child))
  TYPEWELL_PASS_ON(accNavigate, (LONG direction, VARIANT start, VARIANT* end),
                   (direction, start, end))
  TYPEWELL_PASS_ON(accHitTest, (LONG x, LONG y, VARIANT* child), (x, y, child))
  TYPEWELL_PASS_ON(accDoDefaultAction, (VARIANT child), (child))
  TYPEWELL_PASS_ON(put_accName, (VARIANT child, BSTR name), (child, name))
  TYPEWELL_PASS_ON(put_accValue, (VARIANT child, BSTR value), (child, value))
#undef TYPEWELL_PASS_ON
  // clang-format on

 private:
  HWND control_;
  IAccessible* standard_;  // owned: one reference
};

}  // namespace

namespace accessibility_detail {

std::optional<LRESULT> AnswerGetObject(HWND control, WPARAM wParam, LPARAM lParam) noexcept try {
  if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return std::nullopt;
  const Msaa& msaa = MsaaFunctions();
  if (!msaa.createStandard || !msaa.createProxy || !msaa.lresultFromObject || !msaa.allocString) {
    return std::nullopt;
  }
  // The system's object of a control is chosen by its class's name: a button of Typewell's own
  // class is asked for as a "Button", as the system documents for a superclass. (Wine 8's oleacc
  // has no proxy of its own for buttons, and its CreateStdAccessibleProxyW is a stub that aborts
  // the caller: there the standard object serves.)
  wchar_t className[32] = L"";
  GetClassNameW(control, className, 32);
  void* object = nullptr;
  const HRESULT made =
      lstrcmpW(className, kButtonClass) == 0 && !RunningUnderWine()
          ? msaa.createProxy(control, L"Button", OBJID_CLIENT, __uuidof(IAccessible), &object)
          : msaa.createStandard(control, OBJID_CLIENT, __uuidof(IAccessible), &object);
  auto* standard = static_cast<IAccessible*>(object);
  if (FAILED(made) || standard == nullptr) {
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
