// Plain geometry values of the windows and screens, in pixels: what a widget is told to do,
// tested without a display.
#pragma once

namespace vexor {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int w = 0;
  int h = 0;
  bool operator==(const Size&) const = default;
};

// A control's place: top-left corner and size. A collapsed control sits at (0, 0) with size
// 0 x 0: it is out of sight but keeps its state (check marks, list rows).
struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool Collapsed() const { return x == 0 && y == 0 && w == 0 && h == 0; }
  bool operator==(const Rect&) const = default;
};

}  // namespace vexor
