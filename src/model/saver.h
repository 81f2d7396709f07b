// When a file cannot be written (another program holds it, a read-only folder, a full disk),
// Typewell keeps the change in memory and says so once, naming the file and the system's reason;
// every later chance writes it: the next change, the tick, the close. At the close it asks:
// Retry, Close without saving (naming what is lost), or Cancel (Typewell stays open). At the end
// of the Windows session it tries once, silently.
#pragma once

#include <functional>
#include <string>

#include "model/entry_book.h"
#include "model/settings.h"
#include "services/messages.h"

namespace tw::model {

class Saver {
 public:
  Saver(EntryBook& entries, Settings& settings, services::Messages& messages)
      : entries_(entries), settings_(settings), messages_(messages) {}

  // Writes what is not on disk yet. A failure is reported unless it was already reported since
  // the last successful write of that file. A report lets other events run: callers finish
  // changing their state before they save.
  void SaveChanges();
  // Moves an entry (EntryBook::Move), reporting a failure as SaveChanges does.
  void MoveEntry(int from, int to);
  // The main window is about to close: writes what is not on disk, asking after each failure.
  // False when the user chose Cancel: the window stays open with its data.
  [[nodiscard]] bool SaveBeforeClose();
  // The Windows session ends: one attempt for each unsaved file, whatever else is going on, and
  // no question, since the process ends whatever the user would answer.
  void SaveAtSessionEnd();

 private:
  struct Reported {
    bool entries = false;
    bool settings = false;
  };
  // Runs a write of the file whose reported flag is given.
  void Attempt(bool& reported, const std::function<void()>& write);
  // Writes until it succeeds, the user gives up or nothing would be lost (lost() names what
  // would, "" for nothing); false for Cancel.
  bool WriteOrAsk(bool& reported, const std::function<void()>& write,
                  const std::function<std::wstring()>& lost);
  std::wstring LostEntries() const;

  EntryBook& entries_;
  Settings& settings_;
  services::Messages& messages_;
  Reported reported_;
};

}  // namespace tw::model
