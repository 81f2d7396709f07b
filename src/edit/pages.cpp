#include "edit/pages.h"

namespace tw::edit {

void Pages::Show(int page) {
  if (view_.ShowPage(page)) shown_ = page;
}

void Pages::ShowDuringDrag(int page) {
  if (page != shown_) Show(page);
}

}  // namespace tw::edit
