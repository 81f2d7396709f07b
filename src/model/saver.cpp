#include "model/saver.h"

#include <utility>

#include "store/file_error.h"

namespace tw::model {

namespace {

std::wstring CouldNotSave(const store::FileError& e) {
  return L"Typewell could not save " + e.Path() + L".\n\n" + e.Reason();
}

}  // namespace

void Saver::Attempt(bool& reported, const std::function<void()>& write) {
  try {
    write();
    reported = false;
  } catch (const store::FileError& e) {
    if (!std::exchange(reported, true)) {
      messages_.Report(CouldNotSave(e) +
                       L"\n\nYour changes are kept while Typewell runs; it will try again.");
    }
  }
}

void Saver::SaveChanges() {
  if (entries_.Unsaved()) Attempt(reported_.entries, [this] { entries_.Save(); });
  if (settings_.Unsaved()) Attempt(reported_.settings, [this] { settings_.Save(); });
}

void Saver::MoveEntry(int from, int to) {
  Attempt(reported_.entries, [&] { entries_.Move(from, to); });
}

std::wstring Saver::LostEntries() const {
  const std::vector<int> slots = entries_.ChangedSlots();
  if (slots.empty()) return {};
  std::wstring list;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (i > 0) list += i + 1 == slots.size() ? L" and " : L", ";
    list += std::to_wstring(slots[i] + 1);
  }
  return (slots.size() == 1 ? L"your change to entry " : L"your changes to entries ") + list;
}

bool Saver::WriteOrAsk(bool& reported, const std::function<void()>& write,
                       const std::function<std::wstring()>& lost) {
  for (;;) {
    try {
      write();
      return true;
    } catch (const store::FileError& e) {
      // The question says it all: a tick that runs while it is open reports nothing more.
      reported = true;
      const std::wstring losing = lost();
      if (losing.empty()) return true;  // the file holds all that the user has
      const services::CloseAnswer answer = messages_.AskAtClose(
          CouldNotSave(e) + L"\n\nRetry tries again. Close without saving ends Typewell, and " +
          losing + L" will be lost. Cancel keeps Typewell open with your changes.");
      if (answer == services::CloseAnswer::CloseWithoutSaving) return true;
      if (answer == services::CloseAnswer::Cancel) return false;
    }
  }
}

bool Saver::SaveBeforeClose() {
  if (entries_.Unsaved() &&
      !WriteOrAsk(
          reported_.entries, [this] { entries_.Save(); }, [this] { return LostEntries(); })) {
    return false;
  }
  return !settings_.Unsaved() ||
         WriteOrAsk(
             reported_.settings, [this] { settings_.Save(); },
             [] { return std::wstring(L"the settings (colour, weight, the window's place)"); });
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
