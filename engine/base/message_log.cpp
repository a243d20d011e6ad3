#include "engine/base/message_log.h"

#include <algorithm>

namespace engine {

void MessageLog::add(MessageLevel level, std::string text) {
    if (static_cast<int>(level) > maxLevel_) {
        return;
    }
    messages_.push_back({level, std::move(text)});
    while (messages_.size() > maxCount_) {
        messages_.pop_front();
    }
}

std::optional<Message> MessageLog::pop() {
    if (messages_.empty()) {
        return std::nullopt;
    }
    Message oldest = std::move(messages_.front());
    messages_.pop_front();
    return oldest;
}

const Message& MessageLog::popIntoSlot() {
    std::optional<Message> oldest = pop();
    slot_ = oldest ? std::move(*oldest) : Message{static_cast<MessageLevel>(0), std::string()};
    return slot_;
}

void MessageLog::setMaxCount(std::size_t maxCount) {
    maxCount_ = std::max<std::size_t>(maxCount, 1);
    while (messages_.size() > maxCount_) {
        messages_.pop_front();
    }
}

void MessageLog::resetLimits() {
    maxLevel_ = kDefaultMaxLevel;
    maxCount_ = kDefaultMaxCount;
}

MessageLog& messageLog() {
    static MessageLog log;
    return log;
}

}  // namespace engine
