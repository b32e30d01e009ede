// The toolkit's geometry value types. Coordinates are `long` because every
// toolkit signature traffics in long; values stay within 32-bit signed range in
// practice (window sizes and picture offsets), so nothing depends on the wider
// type on 64-bit Linux.
#pragma once

struct CPoint {
  long x = 0;
  long y = 0;

  constexpr CPoint() = default;
  constexpr CPoint(long px, long py) : x(px), y(py) {}

  constexpr CPoint& operator()(long px, long py) { x = px; y = py; return *this; }
  constexpr CPoint& offset(long dx, long dy) { x += dx; y += dy; return *this; }
  constexpr CPoint& offset(const CPoint& d) { return offset(d.x, d.y); }

  constexpr bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
  constexpr bool operator!=(const CPoint& o) const { return !(*this == o); }
  constexpr CPoint operator+(const CPoint& o) const { return {x + o.x, y + o.y}; }
  constexpr CPoint operator-(const CPoint& o) const { return {x - o.x, y - o.y}; }
  constexpr CPoint& operator+=(const CPoint& o) { return offset(o.x, o.y); }
  constexpr CPoint& operator-=(const CPoint& o) { return offset(-o.x, -o.y); }
};

// A rectangle covers the pixels left <= x < right, top <= y < bottom.
struct CRect {
  long left = 0;
  long top = 0;
  long right = 0;
  long bottom = 0;

  constexpr CRect() = default;
  constexpr CRect(long l, long t, long r, long b) : left(l), top(t), right(r), bottom(b) {}

  constexpr CRect& operator()(long l, long t, long r, long b) {
    left = l; top = t; right = r; bottom = b;
    return *this;
  }

  constexpr long width() const { return right - left; }
  constexpr long height() const { return bottom - top; }
  constexpr long getWidth() const { return width(); }
  constexpr long getHeight() const { return height(); }
  constexpr CRect& setWidth(long w) { right = left + w; return *this; }
  constexpr CRect& setHeight(long h) { bottom = top + h; return *this; }
  constexpr CPoint topLeft() const { return {left, top}; }

  constexpr CRect& offset(long dx, long dy) {
    left += dx; right += dx; top += dy; bottom += dy;
    return *this;
  }
  constexpr CRect& offset(const CPoint& d) { return offset(d.x, d.y); }

  // Keeps the size, puts the top-left corner at (x, y).
  constexpr CRect& moveTo(long x, long y) {
    long w = width(), h = height();
    left = x; top = y; right = x + w; bottom = y + h;
    return *this;
  }
  constexpr CRect& moveTo(const CPoint& p) { return moveTo(p.x, p.y); }

  // Shrinks by dx on the left and right, dy on top and bottom (grows when negative).
  constexpr CRect& inset(long dx, long dy) {
    left += dx; right -= dx; top += dy; bottom -= dy;
    return *this;
  }

  // Nothing to draw: no pixel lies inside.
  constexpr bool isEmpty() const { return right <= left || bottom <= top; }

  // Pixel containment: right and bottom edges excluded.
  constexpr bool pointInside(const CPoint& p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  // Containment with the right and bottom edges included (the view tree's
  // hit tests count the far edges as inside).
  constexpr bool pointInsideClosed(const CPoint& p) const {
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
  }

  // Intersection, in place. Disjoint rectangles leave an empty rectangle
  // (right == left or bottom == top) rather than one with negative size.
  constexpr CRect& bound(const CRect& o) {
    if (left < o.left) left = o.left;
    if (top < o.top) top = o.top;
    if (right > o.right) right = o.right;
    if (bottom > o.bottom) bottom = o.bottom;
    if (right < left) right = left;
    if (bottom < top) bottom = top;
    return *this;
  }

  // Smallest rectangle holding both, in place.
  constexpr CRect& unite(const CRect& o) {
    if (o.left < left) left = o.left;
    if (o.top < top) top = o.top;
    if (o.right > right) right = o.right;
    if (o.bottom > bottom) bottom = o.bottom;
    return *this;
  }

  constexpr bool operator==(const CRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  constexpr bool operator!=(const CRect& o) const { return !(*this == o); }
};

// The two rectangles touch, edges included: sharing only a border line (or a
// corner) counts. Used to decide whether a view lies in an area to redraw.
constexpr bool rectTouches(const CRect& a, const CRect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// The two rectangles share at least one pixel in each direction.
constexpr bool rectOverlap(const CRect& a, const CRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Intersection as a value.
constexpr CRect rectIntersection(CRect a, const CRect& b) { return a.bound(b); }
