// Starting and releasing the engine, and its options.
#include "engine/api/api_guard.h"
#include "engine/h3d.h"

using namespace engine;

namespace {

void abandonStart(bool wasRunning, const char* what) noexcept;

}  // namespace

bool h3dInit() {
    const bool wasRunning = runningEngine() != nullptr;
    try {
        return startEngine(messageLog());
    } catch (const std::exception& error) {
        abandonStart(wasRunning, error.what());
    } catch (...) {
        abandonStart(wasRunning, "unknown error");
    }
    return false;
}

void h3dRelease() {
    // Releasing an engine that does not run is harmless, so it stays silent.
    try {
        stopEngine();
    } catch (...) {
        reportInternalError("h3dRelease", "unknown error");
    }
}

bool h3dSetOption(H3DOptions::List option, float value) {
    return withEngine("h3dSetOption", false, [&](Engine& engine) {
        std::string error;
        if (!engine.options.set(option, value, error)) {
            messageLog().warning("h3dSetOption: " + error);
            return false;
        }
        messageLog().setMaxLevel(engine.options.maxLogLevel());
        messageLog().setMaxCount(static_cast<std::size_t>(engine.options.maxMessageCount()));
        return true;
    });
}

float h3dGetOption(H3DOptions::List option) {
    return withEngine("h3dGetOption", 0.0f, [&](Engine& engine) {
        std::optional<float> value = engine.options.get(option);
        if (!value) {
            messageLog().warning("h3dGetOption: unknown option " + std::to_string(option));
            return 0.0f;
        }
        return *value;
    });
}

namespace {

void abandonStart(bool wasRunning, const char* what) noexcept {
    // A half-made engine is no engine; one that ran before stays.
    if (!wasRunning) {
        stopEngine();
    }
    reportInternalError("h3dInit", what);
}

}  // namespace
