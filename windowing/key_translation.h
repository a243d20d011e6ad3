// Translation of GLFW 3 key codes into the 2.x codes the shell knows.
#pragma once

namespace windowing {

// The 2.x special keys, Esc to Menu, have consecutive codes.
constexpr int kLegacySpecialKeyCount = 69;

// The 2.x code of a GLFW 3 key, or -1 (GLFW_KEY_UNKNOWN) when 2.x has no such key.
int legacyKeyFromGlfw3(int glfw3Key);

// GLFW 3's code for the special key at this position of the 2.x order (0 is Esc).
int glfw3SpecialKeyAt(int legacyPosition);

}  // namespace windowing
