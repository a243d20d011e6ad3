#include "windowing/key_table.h"

#include "windowing/adapter_state.h"
#include "windowing/glfw2.h"

namespace windowing {

static_assert(kLegacyKeyCodeCount == GLFW_KEY_LAST + 1, "the key table covers every 2.x code");

namespace {

bool isInTable(int legacyKey);

}  // namespace

void releaseAllKeys() {
    adapterState().keyIsDown.fill(false);
}

bool recordKeyAction(int legacyKey, int action) {
    if (!isInTable(legacyKey)) {
        return false;
    }
    bool& isDown = adapterState().keyIsDown[legacyKey];
    const bool isRepeatedPress = isDown && action == GLFW_PRESS;
    isDown = action == GLFW_PRESS;
    return !isRepeatedPress;
}

int legacyKeyState(int legacyKey) {
    if (!isInTable(legacyKey)) {
        return GLFW_RELEASE;
    }
    return adapterState().keyIsDown[legacyKey] ? GLFW_PRESS : GLFW_RELEASE;
}

namespace {

bool isInTable(int legacyKey) {
    return legacyKey >= 0 && legacyKey < kLegacyKeyCodeCount;
}

}  // namespace

}  // namespace windowing
