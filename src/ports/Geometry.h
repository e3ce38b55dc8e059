#pragma once

#include <algorithm>

namespace fenwold {

// Plain geometry shared by every layer. Which coordinate system a value is in (Accessibility's
// top-left origin or the screens' bottom-left origin) is stated where the value is declared.
struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    Point origin() const { return {x, y}; }
    Size size() const { return {width, height}; }
    double minX() const { return x; }
    double minY() const { return y; }
    double maxX() const { return x + width; }
    double maxY() const { return y + height; }
    double midX() const { return x + width / 2; }
    double midY() const { return y + height / 2; }
    bool isEmpty() const { return width <= 0 || height <= 0; }
    // Half-open on the far edges, like a point test on a screen frame.
    bool contains(Point p) const { return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height; }
    Rect insetBy(double dx, double dy) const { return {x + dx, y + dy, width - 2 * dx, height - 2 * dy}; }
    Rect offsetBy(double dx, double dy) const { return {x + dx, y + dy, width, height}; }
    bool intersects(const Rect& o) const {
        return !isEmpty() && !o.isEmpty() && x < o.maxX() && o.x < maxX() && y < o.maxY() && o.y < maxY();
    }
    // The smallest rectangle holding both.
    Rect united(const Rect& o) const {
        const double left = std::min(x, o.x), top = std::min(y, o.y);
        return {left, top, std::max(maxX(), o.maxX()) - left, std::max(maxY(), o.maxY()) - top};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace fenwold
