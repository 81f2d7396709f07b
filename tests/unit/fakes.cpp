#include "fakes.h"

#include <algorithm>

namespace tw::test {

namespace {
constexpr std::uint8_t kShift = 0x10, kBackspace = 0x08, kTab = 0x09, kEnd = 0x23, kHome = 0x24,
                       kInsert = 0x2D;
}

void FakeForm::Take(const services::KeyStroke& k, const std::string& clipboard) {
  std::string& field = fields.at(static_cast<std::size_t>(focus));
  if (k.virtualKey == kShift) shift = !k.up;
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

services::KeysSent FakeTyping::Send(std::span<const services::KeyStroke> strokes,
                                    WindowHandle target) {
  services::KeysSent result = services::KeysSent::Taken;
  if (!sendResults.empty()) {
    result = sendResults.front();
    sendResults.pop_front();
  }
  if (strokes.empty()) ++waitsForEarlierKeys;
  if (strokes.empty() || result == services::KeysSent::Refused) return result;
  // The keys reach the foreground window, whatever the caller meant.
  for (const auto& k : strokes) forms[desktop_.foreground].Take(k, clipboard);
  return desktop_.foreground == target ? result : services::KeysSent::TimedOut;
}

bool FakeMessages::AskRetry(const std::wstring& message) {
  questions.push_back(message);
  if (whileAsking) whileAsking();
  if (answers.empty()) return false;
  const bool retry = answers.front();
  answers.pop_front();
  return retry;
}

void FakeMainView::OpenEditBox(int slot, const std::string& text) {
  editSlot = slot;
  editText = text;
  focus = Focus::EditBox;
}

void FakeMainView::CloseEditBox() {
  editSlot.reset();
  // A hidden box cannot keep the focus: it goes to the sink, and the box reports its loss.
  if (focus == Focus::EditBox) FocusSink();
}

void FakeMainView::MoveTo(int left, int top) {
  place = {left, top, left + place.right - place.left, top + place.bottom - place.top};
}

}  // namespace tw::test
