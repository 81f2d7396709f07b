#include "core/save_guard.h"

namespace tw::core {

bool GuardedSave(App& app, SaveKind kind, const std::function<void()>& save) {
  try {
    save();
    if (kind == SaveKind::WindowPosition) app.positionSaveFailing = false;
    return true;
  } catch (const store::FileError& e) {
    if (kind == SaveKind::WindowPosition) {
      if (app.positionSaveFailing) return false;
      app.positionSaveFailing = true;
    }
    app.windows.reportError("Typewell could not save " + e.path() + ".\n\n" + e.reason() +
                                "\n\nYour changes are kept while Typewell runs; it will try again "
                                "at the next change.",
                            app.main.form.hwnd());
    return false;
  }
}

bool SaveOrAskRetry(App& app, const std::function<void()>& save) {
  for (;;) {
    try {
      save();
      return true;
    } catch (const store::FileError& e) {
      const std::string message = "Typewell could not save " + e.path() + ".\n\n" + e.reason() +
                                  "\n\nYour text is not saved. Retry saves it again; Cancel keeps "
                                  "Typewell open with your text.";
      if (!app.windows.askRetry(message, app.main.form.hwnd())) return false;
    }
  }
}

}  // namespace tw::core
