#include "ui/layout.h"

#include <cmath>

namespace tw::ui {

int TwipsToPixels(int twips, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

services::PixelRect PixelRectIn(const TwipsRect& control, const TwipsRect& container, int dpi) {
  const int originX = TwipsToPixels(container.left, dpi);
  const int originY = TwipsToPixels(container.top, dpi);
  const int left = TwipsToPixels(container.left + control.left, dpi) - originX;
  const int top = TwipsToPixels(container.top + control.top, dpi) - originY;
  return {left, top, left + TwipsToPixels(control.width, dpi),
          top + TwipsToPixels(control.height, dpi)};
}

int LayoutDpi(int dpi, int lineHeight) {
  const int fits = TwipsToPixels(kLayoutLineHeightTwips, dpi);
  return lineHeight > fits
             ? static_cast<int>(std::lround(static_cast<double>(dpi) * lineHeight / fits))
             : dpi;
}

}  // namespace tw::ui
