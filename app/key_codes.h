// The keys the viewer's controls read, as the windowing interface numbers them: printable keys
// are their upper-case character, special keys count from 256. The shell checks at compile time
// that they agree with the windowing interface.
#pragma once

namespace viewer_keys {

inline constexpr int kW = 'W';
inline constexpr int kA = 'A';
inline constexpr int kS = 'S';
inline constexpr int kD = 'D';
inline constexpr int kF3 = 260;
// open-model's own.
inline constexpr int kSpace = ' ';
inline constexpr int kN = 'N';
inline constexpr int kR = 'R';
inline constexpr int kH = 'H';
inline constexpr int kF5 = 262;
inline constexpr int kF12 = 269;
inline constexpr int kTab = 293;
inline constexpr int kPageUp = 298;
inline constexpr int kPageDown = 299;

}  // namespace viewer_keys
