// The viewer's key codes must be the windowing interface's own, or the controls would read the
// wrong entries of the key states; a mismatch fails the build.
#include "app/key_codes.h"
#include "windowing/glfw2.h"

static_assert(viewer_keys::kW == 'W' && viewer_keys::kA == 'A' && viewer_keys::kS == 'S' &&
                  viewer_keys::kD == 'D',
              "printable keys are their upper-case character in the windowing interface");
static_assert(viewer_keys::kF3 == GLFW_KEY_F3, "F3 differs from the windowing interface's code");
static_assert(viewer_keys::kF5 == GLFW_KEY_F5 && viewer_keys::kF12 == GLFW_KEY_F12 &&
                  viewer_keys::kTab == GLFW_KEY_TAB && viewer_keys::kPageUp == GLFW_KEY_PAGEUP &&
                  viewer_keys::kPageDown == GLFW_KEY_PAGEDOWN,
              "open-model's keys differ from the windowing interface's codes");
