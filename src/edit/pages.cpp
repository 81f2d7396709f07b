#include "edit/pages.h"

namespace tw::edit {

void Pages::Show(int page) {
  shown_ = page;
  view_.ShowPage(page);
}

void Pages::ShowDuringDrag(int page) {
  if (page != shown_) Show(page);
}

}  // namespace tw::edit
