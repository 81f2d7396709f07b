// Editing an entry in place, through the wired main window: where the edit box opens, every way
// an edit ends and what each commit leaves in the labels, the "Insert" buttons and Forms.dat,
// and a save that fails.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>

#include "app/wiring.h"
#include "core/entries.h"
#include "edit/editing.h"
#include "test_support.h"

namespace tw {
namespace {

using forms::kLeftButton;
using forms::kMiddleButton;
using forms::kRightButton;
using test::EntryFileWith;
using test::ReadFile;
using test::WriteFile;

std::string Sample() {
  return EntryFileWith({{0, "zero"}, {1, "one"}, {2, "two"}, {12, "twelve"}, {37, "thirty-seven"}});
}

// Forms.dat with the record of slot replaced by text, padded.
std::string With(std::string file, int slot, const std::string& text) {
  file.replace(static_cast<std::size_t>(slot) * 200, 200,
               text + std::string(200 - text.size(), ' '));
  return file;
}

// The main window shown with the sample entries; an edit is driven as the user would.
struct EditingApp : test::ShownApp {
  EditingApp() : ShownApp(Sample()) {}

  void open(int slot, int button = kLeftButton) { input.click(*main.Names[slot], button); }
  void type(const std::string& text) { main.Gettext->nativeTextChanged(text); }
  bool editing() const { return main.Gettext->visible(); }
  // Opens slot, types text and moves the focus away, as a button or a page tab takes it.
  void edit(int slot, const std::string& text) {
    open(slot);
    type(text);
    main.Holdfocus->setFocus();
  }
};

TEST(Editing, AReleaseOfAnyButtonOpensTheBoxExactlyOverTheLabelWithItsText) {
  for (const int button : {kLeftButton, kRightButton, kMiddleButton}) {
    EditingApp t;
    const forms::Twips height = t.main.Gettext->height();
    t.open(9, button);
    EXPECT_TRUE(t.editing());
    EXPECT_TRUE(t.main.Gettext->hasFocus());
    EXPECT_EQ(t.app.currentSlot, 9);
    const forms::Rect label = t.main.Names[9]->absoluteBounds();
    EXPECT_EQ(t.main.Gettext->absoluteBounds(),
              (forms::Rect{label.left, label.top, label.width, height}));
    EXPECT_EQ(t.main.Gettext->bounds(), (forms::Rect{828, 324 + 288 * 9, 1932, height}));
    EXPECT_EQ(ReadFile(t.entryFile()), Sample()) << "opening writes nothing";
  }
  // A label of another page is placed by Frame(0), where the page on show stands.
  EditingApp t;
  edit::Names_MouseUp(t.app, forms::MouseEvent{37, kLeftButton, 0, 5, 5});
  EXPECT_EQ(t.main.Gettext->bounds(), (forms::Rect{828, 324 + 288 * 7, 1932, 288}));
  EXPECT_EQ(t.main.Gettext->caption(), "thirty-seven");
  EXPECT_EQ(t.app.currentSlot, 37);
}

TEST(Editing, FocusLossCommitsHidesAndRewritesTheWholeFile) {
  EditingApp t;
  t.edit(12, "changed");
  EXPECT_FALSE(t.editing());
  EXPECT_EQ(t.main.Names[12]->caption(), "changed");
  EXPECT_TRUE(t.main.FillBtn[12]->enabled());
  EXPECT_EQ(ReadFile(t.entryFile()), With(Sample(), 12, "changed"));

  // Unchanged text rewrites the file too: a record spoiled behind the program's back is
  // restored from the labels.
  WriteFile(t.entryFile(), With(Sample(), 50, "spoiled"));
  t.open(1);
  t.main.Holdfocus->setFocus();
  EXPECT_EQ(ReadFile(t.entryFile()), With(Sample(), 12, "changed"));
  EXPECT_TRUE(t.windows.errors.empty());
}

TEST(Editing, EmptyAndBlankTextsAreStoredAsTyped) {
  EditingApp t;
  // Emptied, then committed by a right-button release on its own "Insert": nothing is filled.
  t.app.targetWindow = 20480;
  t.open(0);
  t.type("");
  t.input.press(*t.main.FillBtn[0], kRightButton);
  t.input.release(*t.main.FillBtn[0], kRightButton);
  EXPECT_TRUE(t.windows.callsStartingWith("setClipboardText").empty());
  EXPECT_TRUE(t.windows.callsStartingWith("sendKeys").empty());
  EXPECT_EQ(t.main.Names[0]->caption(), "");
  EXPECT_FALSE(t.main.FillBtn[0]->enabled());
  std::string expected = With(Sample(), 0, "");

  t.edit(5, "   ");
  EXPECT_EQ(t.main.Names[5]->caption(), "   ");
  EXPECT_TRUE(t.main.FillBtn[5]->enabled());
  t.edit(6, "  lead and tail  ");
  expected = With(With(expected, 5, "   "), 6, "  lead and tail  ");
  EXPECT_EQ(ReadFile(t.entryFile()), expected);

  // After a restart the blank slot is empty; leading blanks survive, trailing ones do not.
  core::LoadEntries(t.app);
  EXPECT_EQ(t.main.Names[5]->caption(), "");
  EXPECT_FALSE(t.main.FillBtn[5]->enabled());
  EXPECT_EQ(t.main.Names[6]->caption(), "  lead and tail");
}

TEST(Editing, ClickingAnotherLabelCommitsTheOpenEditAndKeepsTheBoxOpen) {
  EditingApp t;
  t.open(1);
  t.type("uno");
  t.backend.log.clear();
  t.open(2);
  EXPECT_EQ(t.main.Names[1]->caption(), "uno");
  EXPECT_EQ(ReadFile(t.entryFile()), With(Sample(), 1, "uno"));
  EXPECT_TRUE(t.editing());
  EXPECT_TRUE(t.main.Gettext->hasFocus());
  EXPECT_EQ(t.app.currentSlot, 2);
  EXPECT_EQ(t.main.Gettext->caption(), "two");
  EXPECT_EQ(t.main.Gettext->top(), 324 + 288 * 2);
  // The box was never hidden on the way: the focus did not pass through the focus sink.
  for (const std::string& line : t.backend.log) EXPECT_NE(line, "focus Holdfocus");

  // Emptying a slot by clicking away disables its button.
  t.type("");
  t.open(0);
  EXPECT_FALSE(t.main.FillBtn[2]->enabled());
  EXPECT_EQ(ReadFile(t.entryFile()), With(With(Sample(), 1, "uno"), 2, ""));
}

TEST(Editing, ClosingDuringAnEditSavesItOrAsksRetryOrCancelExceptAtTheEndOfTheSession) {
  using forms::CloseReason;
  struct Case {
    const char* name;
    bool blocked;  // Forms.dat cannot be written when the close begins
    CloseReason reason;
    std::deque<bool> answers;  // true: Retry
    bool freedWhileAsked;      // it can be written again while the question is open
    std::size_t questions;
    bool ends;
  };
  const Case cases[] = {
      {"saved", false, CloseReason::Request, {}, false, 0, true},
      {"cancel", true, CloseReason::Request, {false}, false, 1, false},
      {"retry, still blocked, cancel", true, CloseReason::Request, {true, false}, false, 2, false},
      {"retry once writable", true, CloseReason::Request, {true}, true, 1, true},
      {"session end: one attempt", true, CloseReason::SessionEnd, {}, false, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingApp t;
    int exits = 0;
    t.app.requestExit = [&](int) { ++exits; };
    if (c.blocked) test::BlockFile(t.entryFile());
    t.open(12);
    t.type("typed at close");
    t.windows.retryAnswers = c.answers;
    if (c.freedWhileAsked)
      t.windows.pendingEvents = [&] { std::filesystem::remove(t.entryFile()); };
    t.main.form.nativeCloseRequested(c.reason);

    const auto questions = t.windows.callsStartingWith("askRetry");
    EXPECT_EQ(questions.size(), c.questions);
    for (const std::string& q : questions) {
      EXPECT_NE(q.find(t.entryFile()), std::string::npos);
      EXPECT_NE(q.find("not saved"), std::string::npos);
    }
    EXPECT_TRUE(t.windows.errors.empty());
    EXPECT_EQ(exits, c.ends ? 1 : 0);
    EXPECT_EQ(t.main.form.loaded(), !c.ends);
    EXPECT_EQ(t.editing() && t.main.Gettext->hasFocus(), !c.ends);
    EXPECT_EQ(t.main.Gettext->caption(), "typed at close");
    const bool saved = !c.blocked || c.freedWhileAsked;
    EXPECT_EQ(ReadFile(t.entryFile()) == With(Sample(), 12, "typed at close"), saved);
  }
}

TEST(Editing, AFailedSaveIsReportedOnceTheLabelKeepsTheTextAndTheNextSaveWritesIt) {
  EditingApp t;
  test::BlockFile(t.entryFile());
  t.edit(1, "survives");
  ASSERT_EQ(t.windows.errors.size(), 1u);
  EXPECT_NE(t.windows.errors[0].find(t.entryFile()), std::string::npos);
  EXPECT_EQ(t.main.Names[1]->caption(), "survives");
  EXPECT_FALSE(t.editing());

  // Once the file can be written again, the next commit stores everything the labels hold.
  std::filesystem::remove(t.entryFile());
  core::SaveEntries(t.app);  // what the next commit does
  EXPECT_EQ(ReadFile(t.entryFile()), With(Sample(), 1, "survives"));
}

// A message box takes the focus from the window while it is open, as on Windows.
class FocusTakingErrors : public platform::RecordingWindowSystem {
 public:
  forms::Form* form = nullptr;
  void reportError(const std::string& message, platform::WindowHandle owner) override {
    if (form != nullptr) form->nativeFocusChanged(nullptr);
    RecordingWindowSystem::reportError(message, owner);
  }
};

TEST(Editing, AReportThatTakesTheFocusDuringACommitReportsOnceAndTheNextEditOpens) {
  forms::HeadlessBackend backend;
  forms::Toolkit toolkit{backend};
  FocusTakingErrors windows;
  test::TempFolder folder;
  core::App app{toolkit, windows, folder.withSeparator()};
  forms::HeadlessInput input{app.main.form};
  windows.form = &app.main.form;
  std::filesystem::create_directory(folder.file("Forms.dat"));
  app::WireEvents(app);
  app.main.form.load();
  app.main.form.show();

  input.click(*app.main.Names[3]);
  app.main.Gettext->nativeTextChanged("typed");
  input.click(*app.main.Names[4]);
  EXPECT_EQ(windows.errors.size(), 1u);
  EXPECT_EQ(app.main.Names[3]->caption(), "typed");
  EXPECT_TRUE(app.main.Gettext->visible());
  EXPECT_TRUE(app.main.Gettext->hasFocus());
  EXPECT_EQ(app.currentSlot, 4);

  // A later commit with the file usable again writes the earlier text as well.
  std::filesystem::remove(folder.file("Forms.dat"));
  app.main.Gettext->nativeTextChanged("four");
  app.main.Holdfocus->setFocus();
  EXPECT_EQ(windows.errors.size(), 1u);
  EXPECT_EQ(ReadFile(folder.file("Forms.dat")),
            With(With(std::string(12000, ' '), 3, "typed"), 4, "four"));
}

}  // namespace
}  // namespace tw
