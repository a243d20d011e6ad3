#include "json_value.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>

namespace content_tests {
namespace {

class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    JsonValue parseDocument() {
        JsonValue value = parseValue();
        skipSpace();
        if (position_ != text_.size()) {
            fail("trailing characters");
        }
        return value;
    }

  private:
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at " + std::to_string(position_));
    }

    void skipSpace() {
        while (position_ < text_.size() &&
               std::isspace(static_cast<unsigned char>(text_[position_]))) {
            ++position_;
        }
    }

    char peek() {
        skipSpace();
        if (position_ >= text_.size()) {
            fail("unexpected end");
        }
        return text_[position_];
    }

    void expect(char wanted) {
        if (peek() != wanted) {
            fail(std::string("expected ") + wanted);
        }
        ++position_;
    }

    bool consumeWord(std::string_view word) {
        if (text_.substr(position_, word.size()) == word) {
            position_ += word.size();
            return true;
        }
        return false;
    }

    JsonValue parseValue() {
        const char next = peek();
        if (next == '{') {
            return parseObject();
        }
        if (next == '[') {
            return parseArray();
        }
        if (next == '"') {
            JsonValue value;
            value.kind = JsonValue::Kind::String;
            value.text = parseString();
            return value;
        }
        return parseLiteral();
    }

    JsonValue parseObject() {
        JsonValue value;
        value.kind = JsonValue::Kind::Object;
        expect('{');
        if (peek() == '}') {
            ++position_;
            return value;
        }
        do {
            if (peek() != '"') {
                fail("expected a key");
            }
            const std::string key = parseString();
            expect(':');
            value.members[key] = parseValue();
        } while (consumeSeparator('}'));
        return value;
    }

    JsonValue parseArray() {
        JsonValue value;
        value.kind = JsonValue::Kind::Array;
        expect('[');
        if (peek() == ']') {
            ++position_;
            return value;
        }
        do {
            value.items.push_back(parseValue());
        } while (consumeSeparator(']'));
        return value;
    }

    // True after a comma, false after the closing bracket.
    bool consumeSeparator(char closing) {
        const char next = peek();
        ++position_;
        if (next == ',') {
            return true;
        }
        if (next != closing) {
            fail("expected , or closing bracket");
        }
        return false;
    }

    std::string parseString() {
        expect('"');
        std::string result;
        while (position_ < text_.size() && text_[position_] != '"') {
            if (text_[position_] == '\\') {
                ++position_;
            }
            result.push_back(text_[position_++]);
        }
        expect('"');
        return result;
    }

    JsonValue parseLiteral() {
        JsonValue value;
        if (consumeWord("true") || consumeWord("false")) {
            value.kind = JsonValue::Kind::Boolean;
            value.boolean = text_[position_ - 1] == 'e' && text_[position_ - 2] == 'u';
            return value;
        }
        if (consumeWord("null")) {
            return value;
        }
        const std::string rest(text_.substr(position_, 40));
        char* end = nullptr;
        value.number = std::strtod(rest.c_str(), &end);
        if (end == rest.c_str()) {
            fail("unexpected character");
        }
        position_ += static_cast<std::size_t>(end - rest.c_str());
        value.kind = JsonValue::Kind::Number;
        return value;
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

}  // namespace

JsonValue parseJson(std::string_view text) {
    return JsonParser(text).parseDocument();
}

}  // namespace content_tests
