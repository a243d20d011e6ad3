// Reading and dumping the message queue. These work whether or not the engine runs, since the
// reason for a failed start must be readable.
#include <cstdio>
#include <string>

#include "engine/api/api_guard.h"
#include "engine/h3d.h"
#include "engine/h3dut.h"

using namespace engine;

namespace {

const char* levelName(MessageLevel level);
std::string singleLine(const std::string& text);

}  // namespace

const char* h3dGetMessage(int* level) {
    try {
        const Message& message = messageLog().popIntoSlot();
        if (level != nullptr) {
            *level = static_cast<int>(message.level);
        }
        return message.text.c_str();
    } catch (...) {
        return "";
    }
}

bool h3dutDumpMessages() {
    try {
        bool written = true;
        while (std::optional<Message> message = messageLog().pop()) {
            std::string line = std::string("[engine ") + levelName(message->level) + "] " +
                               singleLine(message->text) + "\n";
            written = std::fputs(line.c_str(), stderr) >= 0 && written;
        }
        return std::fflush(stderr) == 0 && written;
    } catch (...) {
        return false;
    }
}

namespace {

const char* levelName(MessageLevel level) {
    switch (level) {
        case MessageLevel::Error:
            return "error";
        case MessageLevel::Warning:
            return "warning";
        case MessageLevel::Info:
            return "info";
        case MessageLevel::Debug:
            return "debug";
    }
    return "message";
}

// Compiler logs span lines; the dump promises one line per message.
std::string singleLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            line += " | ";
        } else {
            line.push_back(c);
        }
    }
    while (line.size() >= 3 && line.compare(line.size() - 3, 3, " | ") == 0) {
        line.resize(line.size() - 3);
    }
    return line;
}

}  // namespace
