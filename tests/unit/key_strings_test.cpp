// The key syntax: the events that the fill's key strings and the other accepted forms turn into,
// and the rejection of malformed strings.
#include "platform/key_strings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tw::platform {
namespace {

// The events as text: "24x↓" is virtual key 0x24 (extended) down, "'a'↑" the character a up.
std::string Render(const ParsedKeys& parsed) {
  std::string out;
  for (const KeyEvent& e : parsed.events) {
    char key[8];
    e.virtualKey ? std::snprintf(key, sizeof key, "%02X%s", e.virtualKey, e.extended ? "x" : "")
                 : std::snprintf(key, sizeof key, "'%c'", e.character);
    out += std::string(out.empty() ? "" : " ") + key + (e.action == KeyAction::Down ? "v" : "^");
  }
  return out;
}

TEST(KeyStrings, EachStringTurnsIntoItsEventsOrIsRejectedWhole) {
  // The fill's key strings; names in any case, short forms, function keys; modifiers holding for
  // one key or a group, released in reverse order; braces quoting the syntax characters and a
  // count repeating a named key.
  const std::pair<const char*, const char*> cases[] = {
      {"{HOME}", "24xv 24x^"},
      {"+{END}", "10v 23xv 23x^ 10^"},
      {"{BACKSPACE}", "08v 08^"},
      {"+{INSERT}", "10v 2Dxv 2Dx^ 10^"},
      {"{TAB}", "09v 09^"},
      {"{home}{Del}{PGDN}{left}", "24xv 24x^ 2Exv 2Ex^ 22xv 22x^ 25xv 25x^"},
      {"{BS}{BKSP}{ESC}{escape}~", "08v 08^ 08v 08^ 1Bv 1B^ 1Bv 1B^ 0Dv 0D^"},
      {"{F1}{F12}{f24}", "70v 70^ 7Bv 7B^ 87v 87^"},
      {"^%{DEL}a", "11v 12v 2Exv 2Ex^ 12^ 11^ 'a'v 'a'^"},
      {"++(ab)c", "10v 'a'v 'a'^ 'b'v 'b'^ 10^ 'c'v 'c'^"},
      {"{+}{~}{(}{{}{}}", "'+'v '+'^ '~'v '~'^ '('v '('^ '{'v '{'^ '}'v '}'^"},
      {"{LEFT 3}", "25xv 25x^ 25xv 25x^ 25xv 25x^"},
      {"{UP 0}", ""},
      {"\xFC", "'\xFC'v '\xFC'^"},
      {"", ""},
      {"+(a)", "10v 'a'v 'a'^ 10^"},
      {"((((((((((((((((a))))))))))))))))", "'a'v 'a'^"}};
  for (const auto& [keys, events] : cases) EXPECT_EQ(Render(ParseKeyString(keys)), events) << keys;
  for (const char* keys :
       {"{HOME", "{", "{}", "{NOSUCHKEY}", "{F25}", "{F0}", "}", "a+", "+()", "(ab", "ab)",
        "{LEFT x}", "{LEFT 256}", "{LEFT }", "{a 2}", "(((((((((((((((((a)))))))))))))))))"})
    EXPECT_FALSE(ParseKeyString(keys).ok()) << keys;
  EXPECT_EQ(ParseKeyString("{LEFT 255}").events.size(), 510u);
}

}  // namespace
}  // namespace tw::platform
