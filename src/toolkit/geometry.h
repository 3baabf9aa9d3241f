#pragma once

#include <cstdint>

// Points, sizes, rectangles and colours in the framework's shape. Rectangles are half open:
// a point lies in one when left <= x < right and top <= y < bottom.

using uint = unsigned int;

struct TPoint {
    int x = 0;
    int y = 0;

    constexpr TPoint() = default;
    constexpr TPoint(int px, int py) : x(px), y(py) {}
    constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;

    constexpr TSize() = default;
    constexpr TSize(int w, int h) : cx(w), cy(h) {}
    constexpr bool operator==(const TSize&) const = default;
};

struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr TRect(const TPoint& origin, const TSize& size)
        : left(origin.x), top(origin.y), right(origin.x + size.cx), bottom(origin.y + size.cy) {}

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr TPoint TopLeft() const { return {left, top}; }
    constexpr TSize Size() const { return {Width(), Height()}; }
    constexpr bool IsEmpty() const { return left >= right || top >= bottom; }
    constexpr bool Contains(const TPoint& p) const {
        return left <= p.x && p.x < right && top <= p.y && p.y < bottom;
    }
    // The common part of two rectangles; empty (all zero) when they do not meet.
    constexpr TRect operator&(const TRect& o) const {
        TRect r(left > o.left ? left : o.left, top > o.top ? top : o.top,
                right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom);
        return r.IsEmpty() ? TRect() : r;
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    constexpr TRect operator|(const TRect& o) const {
        if (IsEmpty())
            return o;
        if (o.IsEmpty())
            return *this;
        return TRect(left < o.left ? left : o.left, top < o.top ? top : o.top,
                     right > o.right ? right : o.right, bottom > o.bottom ? bottom : o.bottom);
    }
    constexpr bool operator==(const TRect&) const = default;
};

struct TColor {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    constexpr TColor() = default;
    constexpr TColor(int red, int green, int blue)
        : r(static_cast<std::uint8_t>(red)), g(static_cast<std::uint8_t>(green)),
          b(static_cast<std::uint8_t>(blue)) {}
    constexpr int Red() const { return r; }
    constexpr int Green() const { return g; }
    constexpr int Blue() const { return b; }
    constexpr bool operator==(const TColor&) const = default;
};
