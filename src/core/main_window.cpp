#include "core/main_window.h"

#include <string>

namespace tw::core {

using forms::ControlKind;
using forms::Rect;

namespace {
constexpr forms::Twips kFrameTop = 324;
constexpr forms::Twips kFrameHeight = 4332;
// Design positions of the page containers: only Frame(0) stands in the client area.
constexpr std::array<Rect, kPageCount> kFrameBounds{{
    {0, kFrameTop, 2856, kFrameHeight},
    {2952, kFrameTop, 2928, kFrameHeight},
    {3384, kFrameTop, 3108, kFrameHeight},
    {3816, kFrameTop, 2892, kFrameHeight},
}};
}  // namespace

MainWindow::MainWindow(forms::Toolkit& toolkit)
    : form(toolkit, "DoIt", forms::FormStyle{forms::BorderStyle::FixedSingle, true, true}) {
  form.setClientSize(kClientWidth, kClientHeight);
  form.setWindowState(forms::WindowState::Minimized);

  // Added first: first in the tab order and beneath the "Tutorial" button that covers it.
  Holdfocus = &form.add(ControlKind::FocusSink, "Holdfocus", -1, nullptr, {144, 36, 264, 264});
  Command1 =
      &form.add(ControlKind::PushButton, "Command1", -1, nullptr, {0, 0, 1360, 300}, "Tutorial");
  OptionsBtn = &form.add(ControlKind::PushButton, "OptionsBtn", -1, nullptr, {1368, 0, 1404, 300},
                         "Options");

  for (int p = 0; p < kPageCount; ++p) {
    Frame[p] = &form.add(ControlKind::Container, "Frame", p, nullptr, kFrameBounds[p]);
    Frame[p]->setVisible(p == 0);
    for (int r = 0; r < store::kSlotsPerPage; ++r) {
      const int s = p * store::kSlotsPerPage + r;
      const forms::Twips top = kRowPitch * static_cast<forms::Twips>(r);
      FillBtn[s] =
          &form.add(ControlKind::PushButton, "FillBtn", s, Frame[p], {0, top, 804, 300}, "Insert");
      Names[s] = &form.add(ControlKind::Label, "Names", s, Frame[p], {828, top, 1932, 276});
      Names[s]->setBackColor(kWhite);
    }
  }

  Gettext = &form.add(ControlKind::TextBox, "Gettext", -1, nullptr, {2988, 4788, 1632, 288});
  Gettext->setMaxLength(static_cast<int>(store::kEntryRecordSize));
  Gettext->setVisible(false);

  Frame1 = &form.add(ControlKind::Container, "Frame1", -1, nullptr, {0, 4680, 2784, 264});
  Label1 = &form.add(ControlKind::Label, "Label1", -1, Frame1, {36, 36, 840, 264}, "Page");
  for (int i = 0; i < kPageCount; ++i) {
    const forms::Twips left = 900 + 468 * static_cast<forms::Twips>(i);
    Page[i] = &form.add(ControlKind::OptionButton, "Page", i, Frame1, {left, 0, 480, 264},
                        std::to_string(i + 1));
  }

  WebsiteBtn = &form.add(ControlKind::PushButton, "WebsiteBtn", -1, nullptr, {0, 5004, 1380, 300},
                         "Web Site");
  MinimizeBtn = &form.add(ControlKind::PushButton, "MinimizeBtn", -1, nullptr, {0, 5328, 2784, 480},
                          "Minimize");

  // The proxy lies beneath the page containers, so it is never seen over a page.
  Dragbox = &form.add(ControlKind::Label, "Dragbox", -1, nullptr, {3024, 5184, 1560, 264});
  Dragbox->setVisible(false);
  Dragbox->sendToBack();

  Timer1 = &form.add(ControlKind::Timer, "Timer1", -1, nullptr, {});
  Timer1->setInterval(1000);
}

}  // namespace tw::core
