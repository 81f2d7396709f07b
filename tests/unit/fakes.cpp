#include "fakes.h"

#include <algorithm>
#include <utility>

namespace tw::test {

namespace {
constexpr std::uint8_t kBackspace = 0x08, kTab = 0x09, kEnd = 0x23, kHome = 0x24, kInsert = 0x2D;
}

void FakeForm::Take(const services::KeyStroke& k, const std::string& clipboard, bool shift) {
  std::string& field = fields.at(static_cast<std::size_t>(focus));
  if (k.up) return;
  if (k.virtualKey == kHome || k.virtualKey == kEnd) {
    caret = k.virtualKey == kHome ? 0 : field.size();
    if (!shift) anchor = caret;
  }
  const auto [from, to] = std::minmax(anchor, caret);
  const bool paste = k.virtualKey == kInsert && shift;
  if (paste || k.virtualKey == kBackspace) {
    field.replace(from, to - from, paste ? clipboard : "");
    caret = anchor = from + (paste ? clipboard.size() : 0);
  }
  if (k.virtualKey == kTab) {
    focus = (focus + 1) % static_cast<int>(fields.size());
    caret = anchor = fields[static_cast<std::size_t>(focus)].size();
  }
}

bool FakeTyping::PutOnClipboard(const std::string& text) {
  if (clipboardFailures > 0) {
    --clipboardFailures;
    return false;
  }
  clipboard = text;
  return true;
}

void FakeMessages::Report(const std::wstring& message) {
  reports.push_back(message);
  if (modalLoop) modalLoop();
}

services::CloseAnswer FakeMessages::AskAtClose(const std::wstring& message) {
  questions.push_back(message);
  if (modalLoop) modalLoop();
  if (answers.empty()) return services::CloseAnswer::Cancel;
  const services::CloseAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

void FakeMainView::Press(int slot, ui::Point at) {
  pressHeld = true;
  events->OnEntryLabelPressed(slot, at);
}

void FakeMainView::Move(int slot, ui::Point at, bool leftAlone) {
  if (pressHeld && !events->DragSource()) events->OnEntryLabelDragged(slot, at, leftAlone);
}

void FakeMainView::Release(int pressed, std::optional<int> over) {
  if (!std::exchange(pressHeld, false)) return;  // the press was taken away
  if (events->DragSource()) {
    outline = false;
    events->OnDragReleased(over);
  } else if (over == pressed) {
    events->OnEntryLabelReleased(pressed);
  }
}

void FakeMainView::RunModalLoop() {
  if (focus == Focus::EditBox) {
    focus = Focus::Box;
    posted.push_back([this] { events->OnEditBoxLostFocus(); });
  }
  if (std::exchange(pressHeld, false)) {
    outline = false;
    events->OnPressTakenAway();
  }
  Dispatch();
  events->OnTick();
  if (focus == Focus::Box) focus = editSlot ? Focus::EditBox : Focus::Elsewhere;
}

void FakeMainView::Dispatch() {
  while (!posted.empty()) {
    const auto message = std::move(posted.front());
    posted.pop_front();
    message();
  }
}

void FakeMainView::OpenEditBox(int slot, const std::string& text) {
  editSlot = slot;
  editText = text;
  focus = Focus::EditBox;
}

void FakeMainView::CloseEditBox(int) {
  editSlot.reset();
  // A hidden box cannot keep the focus: it goes to the label, and the box reports its loss later.
  if (focus != Focus::EditBox) return;
  focus = Focus::Label;
  posted.push_back([this] { events->OnEditBoxLostFocus(); });
}

void FakeMainView::MoveTo(int left, int top) {
  place = {left, top, left + place.right - place.left, top + place.bottom - place.top};
}

}  // namespace tw::test
