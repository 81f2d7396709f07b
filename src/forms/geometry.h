// Units and small value types of the forms toolkit. Every position and size is in twips
// (1440 to the inch): 15 to a pixel at 96 dots per inch, 10 at 144.
#pragma once

#include <cstdint>

namespace tw::forms {

using Twips = float;

struct Point {
  Twips x = 0;
  Twips y = 0;
};

struct Rect {
  Twips left = 0;
  Twips top = 0;
  Twips width = 0;
  Twips height = 0;

  bool contains(Point p) const {
    return p.x >= left && p.y >= top && p.x < left + width && p.y < top + height;
  }
  bool operator==(const Rect&) const = default;
};

struct Rgb {
  std::uint8_t red = 255;
  std::uint8_t green = 255;
  std::uint8_t blue = 255;
  bool operator==(const Rgb&) const = default;
};

// Mouse buttons as separate bits, as the mouse events report them.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
// Modifier keys held during a mouse event.
enum ShiftKey : int { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };

}  // namespace tw::forms
