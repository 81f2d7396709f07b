#include "core/entries.h"

#include "store/binary_file.h"
#include "store/entry_file.h"

namespace tw::core {

void UpdateFillButton(App& app, int slot) {
  app.main.FillBtn[slot]->setEnabled(!app.main.Names[slot]->caption().empty());
}

void LoadEntries(App& app) {
  store::BinaryFile file = store::OpenBinaryFile(app.pathOf(store::kEntryFileName));
  const store::EntryTexts texts = store::ReadEntries(file);
  for (int s = 0; s < store::kSlotCount; ++s) {
    app.main.Names[s]->setCaption(texts[s]);
    UpdateFillButton(app, s);
  }
  file.close();
}

void SaveEntries(App& app) {
  store::EntryTexts texts;
  for (int s = 0; s < store::kSlotCount; ++s) texts[s] = app.main.Names[s]->caption();
  store::BinaryFile file = store::OpenBinaryFile(app.pathOf(store::kEntryFileName));
  store::WriteEntries(file, texts);
  file.close();
}

}  // namespace tw::core
