// The engine's message queue. It lives outside the engine instance so that the reason for a
// failed start is still there to be read or dumped.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace engine {

enum class MessageLevel { Error = 1, Warning = 2, Info = 3, Debug = 4 };

struct Message {
    MessageLevel level = MessageLevel::Info;
    std::string text;
};

class MessageLog {
  public:
    static constexpr int kDefaultMaxLevel = 4;
    static constexpr std::size_t kDefaultMaxCount = 512;

    void add(MessageLevel level, std::string text);
    void error(std::string text) { add(MessageLevel::Error, std::move(text)); }
    void warning(std::string text) { add(MessageLevel::Warning, std::move(text)); }
    void info(std::string text) { add(MessageLevel::Info, std::move(text)); }

    // Takes the oldest message.
    std::optional<Message> pop();
    // Takes the oldest message into a slot that stays valid until the next call; a message
    // with level 0 and empty text when none is queued.
    const Message& popIntoSlot();
    std::size_t size() const { return messages_.size(); }
    bool empty() const { return messages_.empty(); }
    void clear() { messages_.clear(); }

    // Messages above maxLevel are dropped; beyond maxCount the oldest ones give way.
    void setMaxLevel(int maxLevel) { maxLevel_ = maxLevel; }
    void setMaxCount(std::size_t maxCount);
    void resetLimits();

  private:
    std::deque<Message> messages_;
    Message slot_;
    int maxLevel_ = kDefaultMaxLevel;
    std::size_t maxCount_ = kDefaultMaxCount;
};

// The one log of the process.
MessageLog& messageLog();

}  // namespace engine
