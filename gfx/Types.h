// Small geometry value types shared by the drawing surface and the controls.
#pragma once

#include <cstdint>

namespace travenel {

// A 64-bit coordinate or size cut to the 32-bit range (what lies beyond it is
// off every surface anyway).
constexpr std::int32_t ClampToInt32(std::int64_t v) {
  return static_cast<std::int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
}

struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  constexpr bool operator==(const TPoint&) const = default;
};

// A rectangle by its edges; the right and bottom edges lie just outside it.
struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  constexpr std::int64_t Width() const { return std::int64_t{Right} - Left; }
  constexpr std::int64_t Height() const { return std::int64_t{Bottom} - Top; }
  constexpr bool operator==(const TRect&) const = default;
};

constexpr TRect Rect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
  return TRect{l, t, r, b};
}
// The far edges are summed in 64 bits and cut to the 32-bit range.
constexpr TRect Bounds(std::int32_t l, std::int32_t t, std::int32_t w, std::int32_t h) {
  return TRect{l, t, ClampToInt32(std::int64_t{l} + w), ClampToInt32(std::int64_t{t} + h)};
}

}  // namespace travenel
