#include <gtest/gtest.h>

#include "engine/base/message_log.h"

using namespace engine;

TEST(MessageLog, HandsOutMessagesOldestFirst) {
    MessageLog log;
    log.error("first");
    log.warning("second");
    ASSERT_EQ(log.size(), 2u);
    std::optional<Message> first = log.pop();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->level, MessageLevel::Error);
    EXPECT_EQ(first->text, "first");
    EXPECT_EQ(log.pop()->text, "second");
    EXPECT_FALSE(log.pop().has_value());
}

TEST(MessageLog, TheSlotKeepsTheLastMessageUntilTheNextCall) {
    MessageLog log;
    log.info("kept");
    const Message& message = log.popIntoSlot();
    EXPECT_EQ(message.text, "kept");
    EXPECT_EQ(static_cast<int>(message.level), 3);
    const Message& none = log.popIntoSlot();
    EXPECT_EQ(none.text, "");
    EXPECT_EQ(static_cast<int>(none.level), 0);
}

TEST(MessageLog, DropsMessagesAboveTheMaximumLevel) {
    MessageLog log;
    log.setMaxLevel(2);
    log.info("dropped");
    log.warning("kept");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log.pop()->text, "kept");
}

TEST(MessageLog, TheOldestMessagesGiveWayBeyondTheMaximumCount) {
    MessageLog log;
    log.setMaxCount(2);
    log.error("one");
    log.error("two");
    log.error("three");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log.pop()->text, "two");
    log.resetLimits();
    for (int index = 0; index < 600; ++index) {
        log.info("many");
    }
    EXPECT_EQ(log.size(), MessageLog::kDefaultMaxCount);
}
