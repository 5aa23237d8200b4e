// Mouse buttons, modifier states, key codes and cursor numbers as the controls
// see them, independent of Qt.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace travenel {

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

enum TShiftFlag : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };

// A set of TShiftFlag values.
struct TShiftState {
  std::uint8_t Bits = 0;
  constexpr TShiftState() = default;
  constexpr TShiftState(std::initializer_list<TShiftFlag> flags) {
    for (TShiftFlag f : flags) Bits |= static_cast<std::uint8_t>(1u << f);
  }
  constexpr bool Contains(TShiftFlag f) const { return (Bits >> f) & 1u; }
  constexpr void Include(TShiftFlag f) { Bits |= static_cast<std::uint8_t>(1u << f); }
  constexpr bool operator==(const TShiftState&) const = default;
};

// Virtual key codes of the classic desktop (letters and digits are their ASCII
// upper-case codes).
namespace vk {
constexpr std::uint16_t Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18,
                        Escape = 27, Space = 32, Prior = 33, Next = 34, End = 35, Home = 36,
                        Left = 37, Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46,
                        F1 = 112;
}

// Cursor numbers: negative ones are built in, positive ones registered by the
// application, 0 the default cursor.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// Flags of the dialog-code query by which a control claims keys for itself.
constexpr int DLGC_WANTARROWS = 1;
constexpr int DLGC_WANTTAB = 2;

}  // namespace travenel
