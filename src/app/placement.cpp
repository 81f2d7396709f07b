#include "app/placement.h"

#include <cmath>

#include "ui/layout.h"

namespace tw::app {

double Placement::ToTwips(int pixels) const {
  return pixels * double{ui::kTwipsPerInch} / desktop_.SystemDpi();
}

int Placement::ToPixels(int twips) const {
  return static_cast<int>(std::lround(twips * desktop_.SystemDpi() / double{ui::kTwipsPerInch}));
}

store::WindowGeometry Placement::Geometry() const {
  const services::PixelSize screen = desktop_.PrimaryScreen();
  const services::PixelSize window = view_.LayoutOuterSize();
  return {ToTwips(screen.width), ToTwips(screen.height), ToTwips(window.width),
          ToTwips(window.height)};
}

bool Placement::OnAnyMonitor(const store::SettingsRecord& record) const {
  const services::PixelSize window = view_.LayoutOuterSize();
  const int left = ToPixels(record.windowLeft);
  const int top = ToPixels(record.windowTop);
  return desktop_.OnAnyMonitor({left, top, left + window.width, top + window.height});
}

void Placement::MoveToSaved() {
  view_.MoveTo(ToPixels(settings_.Record().windowLeft), ToPixels(settings_.Record().windowTop));
  placed_ = view_.Place();
}

void Placement::StoreIfMoved() {
  if (view_.Minimized()) return;
  const services::PixelRect place = view_.Place();
  if (place.left == placed_.left && place.top == placed_.top) return;
  std::int16_t top{};
  std::int16_t left{};
  if (!store::RoundToField(ToTwips(place.top), top) ||
      !store::RoundToField(ToTwips(place.left), left)) {
    return;
  }
  placed_ = place;
  settings_.SetPlace(top, left);
}

}  // namespace tw::app
