// The four pages of fifteen entries, one on show at a time: a release over a page tab shows its
// page, and so does a drag that passes over a tab, so that an entry can be dropped on another
// page.
#pragma once

#include "ui/main_view.h"

namespace tw::edit {

class Pages {
 public:
  explicit Pages(ui::MainView& view) : view_(view) {}

  int Shown() const { return shown_; }
  // The page on show, its tab marked (also when it is on show already); the page on show stays
  // as it was when the window cannot show the page.
  void Show(int page);
  // A drag over a tab: shows its page unless it is on show already.
  void ShowDuringDrag(int page);

 private:
  ui::MainView& view_;
  int shown_ = 0;
};

}  // namespace tw::edit
