// Where the main window stands: the place kept in the settings file, in twips at the system's
// DPI whatever monitor the window is on, so that the same screen point is restored; the window
// placed there at start-up, and the place saved once a second when it moved.
#pragma once

#include "model/settings.h"
#include "services/desktop.h"
#include "store/settings_file.h"
#include "ui/main_view.h"

namespace tw::app {

class Placement {
 public:
  Placement(ui::MainView& view, model::Settings& settings, services::Desktop& desktop)
      : view_(view), settings_(settings), desktop_(desktop) {}

  // The primary screen and the window's layout size, in twips at the system's DPI.
  store::WindowGeometry Geometry() const;
  // Whether the window, at the record's place, lies at least in part on a monitor.
  bool OnAnyMonitor(const store::SettingsRecord& record) const;
  // The window moved to the saved place.
  void MoveToSaved();
  // The tick: a window in the normal state that stands elsewhere than where it was put or last
  // stored has its place stored, rounded to twips; a place that does not fit the file keeps the
  // last that did.
  void StoreIfMoved();

 private:
  double ToTwips(int pixels) const;
  int ToPixels(int twips) const;

  ui::MainView& view_;
  model::Settings& settings_;
  services::Desktop& desktop_;
  // Where the window stood when it was put at the saved place or its place was last stored. The
  // window system may have nudged it on the way: that is no move of the user's.
  services::PixelRect placed_;
};

}  // namespace tw::app
