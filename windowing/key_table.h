// The adapter's own table of held keys, indexed by 2.x key code and updated as key events are
// delivered, so a key reads as down only after the buffer swap that delivered its press.
#pragma once

namespace windowing {

// 2.x key codes run from 0 to GLFW_KEY_LAST (325).
constexpr int kLegacyKeyCodeCount = 326;

void releaseAllKeys();
// Records a delivered key action. False for a press of a key that is already down: with key
// repeat off such a press is not passed on.
bool recordKeyAction(int legacyKey, int action);
// GLFW_PRESS or GLFW_RELEASE; codes outside the table read as released.
int legacyKeyState(int legacyKey);

}  // namespace windowing
