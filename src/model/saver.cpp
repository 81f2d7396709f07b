#include "model/saver.h"

#include <utility>

#include "store/file_error.h"

namespace tw::model {

namespace {

std::wstring CouldNotSave(const store::FileError& e) {
  const std::string reason = e.Reason();
  return L"Typewell could not save " + e.Path() + L".\n\n" +
         std::wstring(reason.begin(), reason.end());
}

}  // namespace

bool Saver::Attempt(bool& reported, const std::function<void()>& write) {
  try {
    write();
    reported = false;
    return true;
  } catch (const store::FileError& e) {
    if (!std::exchange(reported, true)) {
      messages_.Report(CouldNotSave(e) +
                       L"\n\nYour changes are kept while Typewell runs; it will try again.");
    }
    return false;
  }
}

void Saver::SaveChanges() {
  if (entries_.Unsaved()) Attempt(reported_.entries, [this] { entries_.Save(); });
  if (settings_.Unsaved()) Attempt(reported_.settings, [this] { settings_.Save(); });
}

void Saver::MoveEntry(int from, int to) {
  Attempt(reported_.entries, [&] { entries_.Move(from, to); });
}

bool Saver::SaveBeforeClose() {
  const auto saveOrAsk = [this](bool& reported, const std::function<void()>& write) {
    for (;;) {
      try {
        write();
        return true;
      } catch (const store::FileError& e) {
        // The question says it all: a tick that runs while it is open reports nothing more.
        reported = true;
        if (!messages_.AskRetry(CouldNotSave(e) +
                                L"\n\nYour changes are not saved. Retry tries again; Cancel "
                                L"keeps Typewell open with your changes.")) {
          return false;
        }
      }
    }
  };
  if (entries_.Unsaved() && !saveOrAsk(reported_.entries, [this] { entries_.Save(); })) {
    return false;
  }
  return !settings_.Unsaved() || saveOrAsk(reported_.settings, [this] { settings_.Save(); });
}

void Saver::SaveAtSessionEnd() {
  try {
    if (entries_.Unsaved()) entries_.Save();
  } catch (const store::FileError&) {
  }
  try {
    if (settings_.Unsaved()) settings_.Save();
  } catch (const store::FileError&) {
  }
}

}  // namespace tw::model
