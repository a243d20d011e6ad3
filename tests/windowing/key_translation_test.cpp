// GLFW 3 key codes become 2.x codes; the key table follows 2.x's rules for repeats.
#include <gtest/gtest.h>

#include <set>

#include "windowing/glfw2.h"
#include "windowing/key_table.h"
#include "windowing/key_translation.h"

namespace {

using windowing::glfw3SpecialKeyAt;
using windowing::kLegacySpecialKeyCount;
using windowing::legacyKeyFromGlfw3;

TEST(KeyTranslationTest, PrintableKeysKeepTheirCode) {
    for (int key = 'A'; key <= 'Z'; ++key) {
        EXPECT_EQ(legacyKeyFromGlfw3(key), key);
    }
    EXPECT_EQ(legacyKeyFromGlfw3(' '), GLFW_KEY_SPACE);
    EXPECT_EQ(legacyKeyFromGlfw3('0'), '0');
}

TEST(KeyTranslationTest, EverySpecialKeyMapsToItsOwnLegacyCode) {
    std::set<int> glfw3Keys;
    for (int position = 0; position < kLegacySpecialKeyCount; ++position) {
        const int glfw3Key = glfw3SpecialKeyAt(position);
        glfw3Keys.insert(glfw3Key);
        EXPECT_EQ(legacyKeyFromGlfw3(glfw3Key), GLFW_KEY_ESC + position);
    }
    EXPECT_EQ(glfw3Keys.size(), static_cast<size_t>(kLegacySpecialKeyCount));
    EXPECT_EQ(GLFW_KEY_ESC + kLegacySpecialKeyCount - 1, GLFW_KEY_LAST);
}

TEST(KeyTranslationTest, KeysUnknownTo2xAreDropped) {
    const int glfw3PrintScreen = 283;
    const int glfw3Unknown = -1;
    EXPECT_EQ(legacyKeyFromGlfw3(glfw3PrintScreen), GLFW_KEY_UNKNOWN);
    EXPECT_EQ(legacyKeyFromGlfw3(glfw3Unknown), GLFW_KEY_UNKNOWN);
    EXPECT_EQ(glfw3SpecialKeyAt(kLegacySpecialKeyCount), -1);
}

TEST(KeyTableTest, RepeatedPressIsNotPassedOn) {
    windowing::releaseAllKeys();

    EXPECT_TRUE(windowing::recordKeyAction('W', GLFW_PRESS));
    EXPECT_FALSE(windowing::recordKeyAction('W', GLFW_PRESS));
    EXPECT_EQ(windowing::legacyKeyState('W'), GLFW_PRESS);
    EXPECT_TRUE(windowing::recordKeyAction('W', GLFW_RELEASE));
    EXPECT_EQ(windowing::legacyKeyState('W'), GLFW_RELEASE);
    EXPECT_TRUE(windowing::recordKeyAction('W', GLFW_PRESS));
    windowing::releaseAllKeys();
    EXPECT_EQ(windowing::legacyKeyState('W'), GLFW_RELEASE);
}

TEST(KeyTableTest, CodesOutsideTheTableAreIgnored) {
    EXPECT_FALSE(windowing::recordKeyAction(GLFW_KEY_LAST + 1, GLFW_PRESS));
    EXPECT_FALSE(windowing::recordKeyAction(-1, GLFW_PRESS));
    EXPECT_EQ(windowing::legacyKeyState(GLFW_KEY_LAST + 1), GLFW_RELEASE);
    EXPECT_EQ(windowing::legacyKeyState(-1), GLFW_RELEASE);
}

}  // namespace
