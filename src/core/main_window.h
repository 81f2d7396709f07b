// The main window DoIt: four pages of fifteen entry rows (label and "Insert" button), the page
// bar, the edit box and drag proxy, the focus sink, four command buttons and the timer. Every
// position is in twips relative to the control's container.
#pragma once

#include <array>

#include "forms/form.h"
#include "forms/toolkit.h"
#include "store/entry_file.h"

namespace tw::core {

inline constexpr int kPageCount = 4;
inline constexpr forms::Twips kClientWidth = 2796;
inline constexpr forms::Twips kClientHeight = 6576;
inline constexpr forms::Twips kRowPitch = 288;
inline constexpr forms::Rgb kWhite{255, 255, 255};

struct MainWindow {
  explicit MainWindow(forms::Toolkit& toolkit);

  forms::Form form;
  forms::Control* Holdfocus = nullptr;  // focus sink, first in the tab order, never seen
  forms::Control* Command1 = nullptr;   // "Tutorial"
  forms::Control* OptionsBtn = nullptr;
  std::array<forms::Control*, kPageCount> Frame{};  // page containers
  std::array<forms::Control*, store::kSlotCount> FillBtn{};
  std::array<forms::Control*, store::kSlotCount> Names{};
  forms::Control* Gettext = nullptr;  // the edit box, hidden until an edit opens
  forms::Control* Frame1 = nullptr;   // the page bar
  forms::Control* Label1 = nullptr;   // "Page"
  std::array<forms::Control*, kPageCount> Page{};
  forms::Control* WebsiteBtn = nullptr;
  forms::Control* MinimizeBtn = nullptr;
  forms::Control* Dragbox = nullptr;  // the drag proxy
  forms::Control* Timer1 = nullptr;
};

}  // namespace tw::core
