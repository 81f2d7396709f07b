#include "appearance/options_dialog.h"

#include "appearance/highlighting.h"
#include "core/app.h"
#include "core/keep_on_top.h"
#include "core/save_guard.h"
#include "store/settings_file.h"

namespace tw::appearance {

using forms::ControlKind;

namespace {
constexpr forms::Twips kClientWidth = 3060;
constexpr forms::Twips kClientHeight = 1716;

void SaveChoices(core::App& app) {
  core::GuardedSave(app, core::SaveKind::Settings,
                    [&app] { store::SaveSettings(app.programFolder, app.settings); });
}

bool InRange(std::int16_t choice, int count) {
  return choice >= 0 && choice < count;
}
}  // namespace

OptionsDialog::OptionsDialog(forms::Toolkit& toolkit)
    : form(toolkit, "Options", forms::FormStyle{forms::BorderStyle::FixedDialog, false, false}) {
  form.setCaption(" Typewell Options");
  form.setClientSize(kClientWidth, kClientHeight);

  Holdfocus = &form.add(ControlKind::FocusSink, "Holdfocus", -1, nullptr, {2052, 3600, 300, 228});
  // The labels are added before the containers, so the containers lie above them and each row
  // of dots runs up to the choices of its row.
  Label1[0] = &form.add(ControlKind::Label, "Label1", 0, nullptr, {36, 144, 2388, 300},
                        "Text.....................");
  Label1[1] = &form.add(ControlKind::Label, "Label1", 1, nullptr, {36, 576, 2424, 300},
                        "Color..................");

  Frame1 = &form.add(ControlKind::Container, "Frame1", -1, nullptr, {1044, 36, 1956, 372});
  FontOption[0] =
      &form.add(ControlKind::OptionButton, "FontOption", 0, Frame1, {36, 0, 948, 300}, "Normal");
  FontOption[1] =
      &form.add(ControlKind::OptionButton, "FontOption", 1, Frame1, {1008, 0, 948, 300}, "Bold");

  Frame2 = &form.add(ControlKind::Container, "Frame2", -1, nullptr, {1080, 396, 2100, 732});
  static constexpr std::array<const char*, kColorChoiceCount> kColourNames{"White", "Green", "Blue",
                                                                           "Yellow"};
  for (int i = 0; i < kColorChoiceCount; ++i) {
    const forms::Twips left = i % 2 == 0 ? 0 : 972;
    const forms::Twips top = i < 2 ? 72 : 396;
    ColorOption[i] = &form.add(ControlKind::OptionButton, "ColorOption", i, Frame2,
                               {left, top, 948, 300}, kColourNames[i]);
  }

  OKBtn = &form.add(ControlKind::PushButton, "OKBtn", -1, nullptr, {36, 1152, 2964, 516}, "OK");
}

void Form_Load(core::App& app, OptionsDialog& dialog) {
  dialog.form.setTop(app.main.form.top());
  dialog.form.setLeft(app.main.form.left());
  // Marking from code raises no mouse event: nothing is saved or recoloured here.
  if (InRange(app.settings.FontChoice, kFontChoiceCount)) {
    dialog.FontOption[app.settings.FontChoice]->setSelected(true);
  }
  if (InRange(app.settings.ColorChoice, kColorChoiceCount)) {
    dialog.ColorOption[app.settings.ColorChoice]->setSelected(true);
  }
  setbold(app, dialog);
  core::KeepOnTop(app, dialog.form.hwnd());
}

void setbold(core::App& app, OptionsDialog& dialog) {
  WeightPass(dialog.form, app.settings.FontChoice);
}

// Any mouse button. The released choice is marked here too, so that the mark always shows the
// stored choice, also when the button went up beside the control.
void ColorOption_MouseUp(core::App& app, OptionsDialog& dialog, const forms::MouseEvent& e) {
  if (!InRange(static_cast<std::int16_t>(e.index), kColorChoiceCount)) return;
  app.settings.ColorChoice = static_cast<std::int16_t>(e.index);
  dialog.ColorOption[e.index]->setSelected(true);
  SaveChoices(app);
  RecolourEntryLabels(app);
  dialog.Holdfocus->setFocus();
}

void FontOption_MouseUp(core::App& app, OptionsDialog& dialog, const forms::MouseEvent& e) {
  if (!InRange(static_cast<std::int16_t>(e.index), kFontChoiceCount)) return;
  app.settings.FontChoice = static_cast<std::int16_t>(e.index);
  dialog.FontOption[e.index]->setSelected(true);
  SaveChoices(app);
  WeightPass(dialog.form, app.settings.FontChoice);
  WeightPass(app.main.form, app.settings.FontChoice);
  dialog.Holdfocus->setFocus();
}

void OKBtn_Click(OptionsDialog& dialog) {
  dialog.form.unload();
}

void WireOptionsDialog(core::App& app, OptionsDialog& dialog) {
  dialog.form.onLoad = [&app, &dialog] { Form_Load(app, dialog); };
  for (forms::Control* option : dialog.ColorOption) {
    option->onMouseUp = [&app, &dialog](const forms::MouseEvent& e) {
      ColorOption_MouseUp(app, dialog, e);
    };
  }
  for (forms::Control* option : dialog.FontOption) {
    option->onMouseUp = [&app, &dialog](const forms::MouseEvent& e) {
      FontOption_MouseUp(app, dialog, e);
    };
  }
  dialog.OKBtn->onClick = [&dialog](int) { OKBtn_Click(dialog); };
}

}  // namespace tw::appearance
