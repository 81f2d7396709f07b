// The key syntax: the events that the fill's key strings and the other accepted forms turn into,
// and the rejection of malformed strings.
#include "platform/key_strings.h"

#include <gtest/gtest.h>

namespace tw::platform {
namespace {

KeyEvent Down(std::uint8_t key, bool extended = false) {
  return KeyEvent{key, 0, KeyAction::Down, extended};
}
KeyEvent Up(std::uint8_t key, bool extended = false) {
  return KeyEvent{key, 0, KeyAction::Up, extended};
}
KeyEvent CharDown(char c) {
  return KeyEvent{0, c, KeyAction::Down, false};
}
KeyEvent CharUp(char c) {
  return KeyEvent{0, c, KeyAction::Up, false};
}

std::vector<KeyEvent> Events(std::string_view keys) {
  const ParsedKeys parsed = ParseKeyString(keys);
  EXPECT_TRUE(parsed.ok()) << keys << ": " << parsed.error;
  return parsed.events;
}

TEST(KeyStrings, TheFillsKeyStrings) {
  EXPECT_EQ(Events("{HOME}"), (std::vector{Down(vk::kHome, true), Up(vk::kHome, true)}));
  EXPECT_EQ(Events("+{END}"), (std::vector{Down(vk::kShift), Down(vk::kEnd, true),
                                           Up(vk::kEnd, true), Up(vk::kShift)}));
  EXPECT_EQ(Events("{BACKSPACE}"), (std::vector{Down(vk::kBackspace), Up(vk::kBackspace)}));
  EXPECT_EQ(Events("+{INSERT}"), (std::vector{Down(vk::kShift), Down(vk::kInsert, true),
                                              Up(vk::kInsert, true), Up(vk::kShift)}));
  EXPECT_EQ(Events("{TAB}"), (std::vector{Down(vk::kTab), Up(vk::kTab)}));
}

TEST(KeyStrings, NamesAreCaseInsensitiveAndCarryTheExtendedFlag) {
  EXPECT_EQ(Events("{home}"), Events("{HOME}"));
  EXPECT_EQ(Events("{Del}"), (std::vector{Down(vk::kDelete, true), Up(vk::kDelete, true)}));
  EXPECT_EQ(Events("{PGDN}"), (std::vector{Down(vk::kPageDown, true), Up(vk::kPageDown, true)}));
  EXPECT_EQ(Events("{LEFT}"), (std::vector{Down(vk::kLeft, true), Up(vk::kLeft, true)}));
  EXPECT_EQ(Events("{BS}"), Events("{BACKSPACE}"));
  EXPECT_EQ(Events("{ENTER}"), (std::vector{Down(vk::kEnter), Up(vk::kEnter)}));
  EXPECT_EQ(Events("~"), Events("{ENTER}"));
  EXPECT_EQ(Events("{F1}"), (std::vector{Down(vk::kF1), Up(vk::kF1)}));
  EXPECT_EQ(Events("{F12}"), (std::vector{Down(0x7B), Up(0x7B)}));
}

TEST(KeyStrings, ModifiersHoldForOneKeyOrAGroup) {
  EXPECT_EQ(Events("^%{DEL}a"),
            (std::vector{Down(vk::kControl), Down(vk::kMenu), Down(vk::kDelete, true),
                         Up(vk::kDelete, true), Up(vk::kMenu), Up(vk::kControl), CharDown('a'),
                         CharUp('a')}));
  EXPECT_EQ(Events("+(ab)c"),
            (std::vector{Down(vk::kShift), CharDown('a'), CharUp('a'), CharDown('b'), CharUp('b'),
                         Up(vk::kShift), CharDown('c'), CharUp('c')}));
}

TEST(KeyStrings, BracesQuoteTheSyntaxCharactersAndRepeat) {
  EXPECT_EQ(Events("{+}{^}{%}{~}{(}{)}{{}{}}"),
            (std::vector{CharDown('+'), CharUp('+'), CharDown('^'), CharUp('^'), CharDown('%'),
                         CharUp('%'), CharDown('~'), CharUp('~'), CharDown('('), CharUp('('),
                         CharDown(')'), CharUp(')'), CharDown('{'), CharUp('{'), CharDown('}'),
                         CharUp('}')}));
  EXPECT_EQ(Events("{LEFT 3}").size(), 6u);
  EXPECT_EQ(Events("\xFC").front(), CharDown('\xFC'));  // a byte above 0x7F is a character too
  EXPECT_TRUE(Events("").empty());
}

TEST(KeyStrings, MalformedStringsAreErrorsWithoutEvents) {
  for (const char* bad :
       {"{HOME", "{", "{}", "{NOSUCHKEY}", "{F25}", "{F0}", "}", "+", "a^", "+()", "(ab", "ab)",
        "{LEFT x}", "{LEFT 256}", "{LEFT }", "{a 2}", "((((((((((((((((((a))))))))))))))))))"}) {
    const ParsedKeys parsed = ParseKeyString(bad);
    EXPECT_FALSE(parsed.ok()) << bad;
    EXPECT_TRUE(parsed.events.empty()) << bad;
  }
}

}  // namespace
}  // namespace tw::platform
