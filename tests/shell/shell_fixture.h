// Runs the whole shell against the recording engine and the scripted windowing library.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/viewer_app.h"
#include "shell/shell.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/recording_engine.h"
#include "tests/fakes/scripted_windowing.h"

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetRecordingEngine();
        resetScriptedWindowing();
        gApp = nullptr;
        gRunning = false;
        gFullscreen = false;
        gLastMouseX = 0;
        gLastMouseY = 0;
        gFpsClock = 0.0;
        gRebuildingWindow = false;
        gMouseRebasePending = false;
    }

    // The failure notice leaves the ViewerApp alive, as the process ends right after it.
    void TearDown() override {
        onRecordedCall() = nullptr;
        delete gApp;
        gApp = nullptr;
    }

    int runViewerFrom(const char* programPath = "/opt/viewer/viewer") {
        char* argv[] = {const_cast<char*>(programPath), nullptr};
        return runViewer(1, argv);
    }

    // Schedules an action inside the numbered buffer swap (1 is the first).
    void atSwap(int swap, std::function<void()> action) {
        scriptedWindowing().eventsAtSwap[swap].push_back(std::move(action));
    }

    // Runs check with the live ViewerApp every time the frame's render call is made.
    void onEveryRender(std::function<void(const ViewerApp&)> check) {
        onRecordedCall() = [check](const std::string& name) {
            if (name == "h3dRender" && gApp != nullptr) {
                check(*gApp);
            }
        };
    }

    static int countOf(const std::string& name) {
        return static_cast<int>(callsNamed(name).size());
    }
};
