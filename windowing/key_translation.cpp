// The 2.x side of the translation. GLFW 3's header cannot be included next to glfw2.h (both
// declare glfwInit and friends), so GLFW 3's codes come from glfw3_key_codes.cpp.
#include "windowing/key_translation.h"

#include "windowing/glfw2.h"

namespace windowing {

static_assert(GLFW_KEY_LAST - GLFW_KEY_ESC + 1 == kLegacySpecialKeyCount,
              "every 2.x special key has a GLFW 3 counterpart");

int legacyKeyFromGlfw3(int glfw3Key) {
    // Printable keys are their upper-case character in both versions.
    if (glfw3Key >= 0 && glfw3Key < GLFW_KEY_SPECIAL) {
        return glfw3Key;
    }
    for (int position = 0; position < kLegacySpecialKeyCount; ++position) {
        if (glfw3SpecialKeyAt(position) == glfw3Key) {
            return GLFW_KEY_ESC + position;
        }
    }
    return GLFW_KEY_UNKNOWN;
}

}  // namespace windowing
