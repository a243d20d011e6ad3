#include "engine/base/engine_options.h"

#include <cmath>

#include "engine/h3d.h"

namespace engine {
namespace {

// What an option accepts: whole numbers in [minimum, maximum], powers of two when asked.
struct OptionRule {
    int option;
    float initial;
    float minimum;
    float maximum;
    bool powerOfTwo;
};

const OptionRule kRules[] = {
    {H3DOptions::MaxLogLevel, 4, 0, 4, false},
    {H3DOptions::MaxNumMessages, 512, 1, 65536, false},
    {H3DOptions::TrilinearFiltering, 1, 0, 1, false},
    {H3DOptions::MaxAnisotropy, 1, 1, 16, false},
    {H3DOptions::TexCompression, 0, 0, 1, false},
    {H3DOptions::LoadTextures, 1, 0, 1, false},
    {H3DOptions::FastAnimation, 1, 0, 1, false},
    {H3DOptions::ShadowMapSize, 1024, 128, 4096, true},
};

const OptionRule* findRule(int option);
bool isPowerOfTwo(int value);
std::string describeRange(const OptionRule& rule);

}  // namespace

EngineOptions::EngineOptions() {
    for (const OptionRule& rule : kRules) {
        values_[rule.option] = rule.initial;
    }
}

bool EngineOptions::set(int option, float value, std::string& error) {
    const OptionRule* rule = findRule(option);
    if (rule == nullptr) {
        error = "unknown option " + std::to_string(option);
        return false;
    }
    bool valid = std::isfinite(value) && value == std::floor(value) && value >= rule->minimum &&
                 value <= rule->maximum &&
                 (!rule->powerOfTwo || isPowerOfTwo(static_cast<int>(value)));
    if (!valid) {
        error = "option " + std::to_string(option) + " takes " + describeRange(*rule) + ", not " +
                std::to_string(value);
        return false;
    }
    values_[option] = value;
    return true;
}

std::optional<float> EngineOptions::get(int option) const {
    auto found = values_.find(option);
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

int EngineOptions::maxLogLevel() const {
    return static_cast<int>(values_.at(H3DOptions::MaxLogLevel));
}

int EngineOptions::maxMessageCount() const {
    return static_cast<int>(values_.at(H3DOptions::MaxNumMessages));
}

bool EngineOptions::trilinearFiltering() const {
    return values_.at(H3DOptions::TrilinearFiltering) != 0.0f;
}

int EngineOptions::maxAnisotropy() const {
    return static_cast<int>(values_.at(H3DOptions::MaxAnisotropy));
}

bool EngineOptions::loadTextures() const {
    return values_.at(H3DOptions::LoadTextures) != 0.0f;
}

int EngineOptions::shadowMapSize() const {
    return static_cast<int>(values_.at(H3DOptions::ShadowMapSize));
}

namespace {

const OptionRule* findRule(int option) {
    for (const OptionRule& rule : kRules) {
        if (rule.option == option) {
            return &rule;
        }
    }
    return nullptr;
}

bool isPowerOfTwo(int value) {
    return value > 0 && (value & (value - 1)) == 0;
}

std::string describeRange(const OptionRule& rule) {
    std::string range = "whole numbers from " + std::to_string(static_cast<int>(rule.minimum)) +
                        " to " + std::to_string(static_cast<int>(rule.maximum));
    return rule.powerOfTwo ? "powers of two, " + range : range;
}

}  // namespace
}  // namespace engine
