// The main window's controls as the user finds them: place, size, caption, what is shown, the
// tab order and which control lies under the pointer.
#include <gtest/gtest.h>

#include <string>

#include "appearance/options_dialog.h"
#include "test_support.h"

namespace tw::test {
namespace {

// "name(index) left,top width×height" and what else sets the control apart.
std::string Name(const forms::Control& c) {
  return c.name() + (c.index() < 0 ? "" : "(" + std::to_string(c.index()) + ")");
}
std::string Look(const forms::Control& c) {
  const forms::Rect& r = c.bounds();
  return Name(c) + " " + std::to_string(int(r.left)) + "," + std::to_string(int(r.top)) + " " +
         std::to_string(int(r.width)) + "x" + std::to_string(int(r.height)) +
         (c.visible() ? "" : " hidden") + (c.caption().empty() ? "" : " '" + c.caption() + "'") +
         (c.container() ? " in " + Name(*c.container()) : "");
}

TEST(MainWindowLayout, EveryControlStandsWhereTheUserFindsIt) {
  forms::HeadlessBackend backend;
  forms::Toolkit toolkit{backend};
  core::MainWindow m(toolkit);
  for (int s = 0; s < 60; ++s) {
    const std::string i = std::to_string(s), top = std::to_string(288 * (s % 15)),
                      in = " in Frame(" + std::to_string(s / 15) + ")";
    EXPECT_EQ(Look(*m.FillBtn[s]) + "|" + Look(*m.Names[s]),
              "FillBtn(" + i + ") 0," + top + " 804x300 'Insert'" + in + "|Names(" + i + ") 828," +
                  top + " 1932x276" + in);
    EXPECT_EQ(m.Names[s]->backColor(), core::kWhite);
  }
  std::string seen;
  for (int i = 0; i < m.form.controlCount(); ++i) {
    const forms::Control& c = m.form.controlAt(i);
    if (c.name() != "Names" && c.name() != "FillBtn") seen += Look(c) + "|";
  }
  EXPECT_EQ(seen,
            "Holdfocus 144,36 264x264|Command1 0,0 1360x300 'Tutorial'|OptionsBtn 1368,0 1404x300 "
            "'Options'|Frame(0) 0,324 2856x4332|Frame(1) 2952,324 2928x4332 hidden|Frame(2) "
            "3384,324 3108x4332 hidden|Frame(3) 3816,324 2892x4332 hidden|Gettext 2988,4788 "
            "1632x288 hidden|Frame1 0,4680 2784x264|Label1 36,36 840x264 'Page' in Frame1|Page(0) "
            "900,0 480x264 '1' in Frame1|Page(1) 1368,0 480x264 '2' in Frame1|Page(2) 1836,0 "
            "480x264 '3' in Frame1|Page(3) 2304,0 480x264 '4' in Frame1|WebsiteBtn 0,5004 1380x300 "
            "'Web Site'|MinimizeBtn 0,5328 2784x480 'Minimize'|Dragbox 3024,5184 1560x264 "
            "hidden|Timer1 0,0 0x0|");
  EXPECT_TRUE(m.form.style().border == forms::BorderStyle::FixedSingle &&
              m.form.style().minimizeBox && m.form.style().showInTaskbar &&
              m.form.windowState() == forms::WindowState::Minimized);
  EXPECT_EQ(Numbers({m.form.controlCount(), int(m.form.clientWidth()), int(m.form.clientHeight()),
                     m.Gettext->maxLength(), m.Timer1->interval()}),
            "138 2796 6576 200 1000");
  // The focus sink holds the focus at load, unseen beneath "Tutorial"; the proxy lies beneath
  // the pages.
  m.form.load();
  EXPECT_TRUE(m.form.focused() == m.Holdfocus && m.form.controlAt({200, 100}) == m.Command1);
  m.Dragbox->setVisible(true);
  m.Dragbox->setBounds({828, 324, 1932, 264});
  EXPECT_EQ(m.form.controlAt(forms::Point{900, 400}), m.Names[0]);
}

TEST(OptionsDialogLayout, EveryControlStandsWhereTheUserFindsIt) {
  forms::HeadlessBackend backend;
  forms::Toolkit toolkit{backend};
  appearance::OptionsDialog d(toolkit);
  std::string seen;
  for (int i = 0; i < d.form.controlCount(); ++i) seen += Look(d.form.controlAt(i)) + "|";
  EXPECT_EQ(seen,
            "Holdfocus 2052,3600 300x228|Label1(0) 36,144 2388x300 'Text.....................'|"
            "Label1(1) 36,576 2424x300 'Color..................'|Frame1 1044,36 1956x372|"
            "FontOption(0) 36,0 948x300 'Normal' in Frame1|FontOption(1) 1008,0 948x300 'Bold' in "
            "Frame1|Frame2 1080,396 2100x732|ColorOption(0) 0,72 948x300 'White' in "
            "Frame2|ColorOption(1) 972,72 948x300 'Green' in Frame2|ColorOption(2) 0,396 948x300 "
            "'Blue' in Frame2|ColorOption(3) 972,396 948x300 'Yellow' in Frame2|OKBtn 36,1152 "
            "2964x516 'OK'|");
  EXPECT_TRUE(d.form.caption() == " Typewell Options" &&
              d.form.style().border == forms::BorderStyle::FixedDialog &&
              !d.form.style().minimizeBox && !d.form.style().showInTaskbar);
  // The focus sink lies below the client area, never seen.
  EXPECT_TRUE(d.form.clientWidth() == 3060 && d.form.clientHeight() == 1716 &&
              d.Holdfocus->top() >= d.form.clientHeight());
}

}  // namespace
}  // namespace tw::test
