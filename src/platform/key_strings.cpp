// Parser of the key syntax; see key_strings.h.
#include "platform/key_strings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

namespace tw::platform {

namespace {

struct NamedKey {
  std::string_view name;
  std::uint8_t virtualKey;
  bool extended;
};

constexpr std::array kNamedKeys{
    NamedKey{"BACKSPACE", vk::kBackspace, false},
    NamedKey{"BS", vk::kBackspace, false},
    NamedKey{"BKSP", vk::kBackspace, false},
    NamedKey{"TAB", vk::kTab, false},
    NamedKey{"ENTER", vk::kEnter, false},
    NamedKey{"ESC", vk::kEscape, false},
    NamedKey{"ESCAPE", vk::kEscape, false},
    NamedKey{"HOME", vk::kHome, true},
    NamedKey{"END", vk::kEnd, true},
    NamedKey{"INSERT", vk::kInsert, true},
    NamedKey{"INS", vk::kInsert, true},
    NamedKey{"DELETE", vk::kDelete, true},
    NamedKey{"DEL", vk::kDelete, true},
    NamedKey{"LEFT", vk::kLeft, true},
    NamedKey{"RIGHT", vk::kRight, true},
    NamedKey{"UP", vk::kUp, true},
    NamedKey{"DOWN", vk::kDown, true},
    NamedKey{"PGUP", vk::kPageUp, true},
    NamedKey{"PGDN", vk::kPageDown, true},
    NamedKey{"SPACE", 0x20, false},
};

constexpr int kMaxRepeat = 255;
constexpr int kMaxNesting = 16;

std::optional<NamedKey> LookUpName(std::string_view name) {
  std::string upper(name);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  for (const auto& key : kNamedKeys) {
    if (key.name == upper) return key;
  }
  // F1 to F24.
  if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F' &&
      std::all_of(upper.begin() + 1, upper.end(),
                  [](unsigned char c) { return std::isdigit(c); })) {
    const int n = std::stoi(upper.substr(1));
    if (n >= 1 && n <= 24) return NamedKey{"", static_cast<std::uint8_t>(vk::kF1 + n - 1), false};
  }
  return std::nullopt;
}

std::optional<std::uint8_t> ModifierKey(char c) {
  switch (c) {
    case '+':
      return vk::kShift;
    case '^':
      return vk::kControl;
    case '%':
      return vk::kMenu;
    default:
      return std::nullopt;
  }
}

class Parser {
 public:
  explicit Parser(std::string_view keys) : keys_(keys) {}

  ParsedKeys run() {
    parseSequence(0);
    if (error_.empty() && pos_ < keys_.size()) error_ = "unmatched ')'";
    if (!error_.empty()) return {{}, error_};
    return {std::move(events_), {}};
  }

 private:
  // Parses items until the end of the string or a ')' (left unconsumed).
  void parseSequence(int depth) {
    while (error_.empty() && pos_ < keys_.size() && keys_[pos_] != ')') parseItem(depth);
  }

  // One key, one group, or modifiers followed by one key or group.
  void parseItem(int depth) {
    std::vector<std::uint8_t> modifiers;
    while (pos_ < keys_.size()) {
      const auto modifier = ModifierKey(keys_[pos_]);
      if (!modifier) break;
      if (std::find(modifiers.begin(), modifiers.end(), *modifier) == modifiers.end()) {
        modifiers.push_back(*modifier);
      }
      ++pos_;
    }
    if (!modifiers.empty() && (pos_ >= keys_.size() || keys_[pos_] == ')')) {
      error_ = "a modifier is not followed by a key";
      return;
    }
    for (auto key : modifiers) press(key, false, KeyAction::Down);
    parseKeyOrGroup(depth);
    // Released in the reverse order of pressing.
    for (std::size_t i = modifiers.size(); i-- > 0;) press(modifiers[i], false, KeyAction::Up);
  }

  void parseKeyOrGroup(int depth) {
    const char c = keys_[pos_];
    if (c == '(') {
      if (depth >= kMaxNesting) {
        error_ = "groups nested too deeply";
        return;
      }
      ++pos_;
      if (pos_ < keys_.size() && keys_[pos_] == ')') {
        error_ = "empty group";
        return;
      }
      parseSequence(depth + 1);
      if (!error_.empty()) return;
      if (pos_ >= keys_.size()) {
        error_ = "unclosed '('";
        return;
      }
      ++pos_;  // ')'
    } else if (c == '{') {
      parseBrace();
    } else if (c == '}') {
      error_ = "unmatched '}'";
    } else if (c == '~') {
      ++pos_;
      tap(vk::kEnter, false);
    } else {
      ++pos_;
      type(c);
    }
  }

  // "{NAME}", "{NAME count}" or "{c}" for one literal character, "}" included ("{}}").
  void parseBrace() {
    const std::size_t start = pos_ + 1;
    // The first character inside may itself be '}' ("{}}").
    const std::size_t close = start < keys_.size() ? keys_.find('}', start + 1) : std::string::npos;
    const std::size_t shortClose = keys_.find('}', start);
    if (shortClose == start) {
      if (close != start + 1) {
        error_ = "empty braces";
        return;
      }
    } else if (shortClose == std::string::npos) {
      error_ = "unclosed '{'";
      return;
    }
    const std::size_t end = shortClose == start ? close : shortClose;
    const std::string_view inside = keys_.substr(start, end - start);
    pos_ = end + 1;
    if (inside.size() == 1 && !LookUpName(inside)) {
      type(inside[0]);
      return;
    }
    parseNamedKey(inside);
  }

  void parseNamedKey(std::string_view inside) {
    std::string_view name = inside;
    int count = 1;
    if (const auto blank = inside.find(' '); blank != std::string_view::npos) {
      name = inside.substr(0, blank);
      const auto digits = inside.substr(blank + 1);
      if (digits.empty() || digits.size() > 3 ||
          !std::all_of(digits.begin(), digits.end(),
                       [](unsigned char c) { return std::isdigit(c); })) {
        error_ = "bad repeat count in {" + std::string(inside) + "}";
        return;
      }
      count = std::stoi(std::string(digits));
      if (count > kMaxRepeat) {
        error_ = "repeat count above 255 in {" + std::string(inside) + "}";
        return;
      }
    }
    const auto key = name.size() == 1 ? std::nullopt : LookUpName(name);
    if (!key) {
      error_ = "unknown key name {" + std::string(name) + "}";
      return;
    }
    for (int i = 0; i < count; ++i) tap(key->virtualKey, key->extended);
  }

  void press(std::uint8_t key, bool extended, KeyAction action) {
    events_.push_back(KeyEvent{key, 0, action, extended});
  }
  void tap(std::uint8_t key, bool extended) {
    press(key, extended, KeyAction::Down);
    press(key, extended, KeyAction::Up);
  }
  void type(char c) {
    events_.push_back(KeyEvent{0, c, KeyAction::Down, false});
    events_.push_back(KeyEvent{0, c, KeyAction::Up, false});
  }

  std::string_view keys_;
  std::size_t pos_ = 0;
  std::vector<KeyEvent> events_;
  std::string error_;
};

}  // namespace

ParsedKeys ParseKeyString(std::string_view keys) {
  return Parser(keys).run();
}

}  // namespace tw::platform
