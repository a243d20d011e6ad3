// Frame-rate measurement and key sampling in the frame loop.
#include "app/key_codes.h"
#include "tests/shell/shell_fixture.h"

namespace {

// The frame rates handed to renderFrame in each pass of a run whose swaps take the given time.
std::vector<float> frameRatesHandedOn(ShellTest& test, double secondsPerSwap, int passes) {
    scriptedWindowing().secondsPerSwap = secondsPerSwap;
    scriptedWindowing().closeRequestAtSwap = passes;
    std::vector<float> rates;
    onRecordedCall() = [&rates](const std::string& name) {
        if (name == "h3dRender") {
            rates.push_back(gApp->frameRate);
        }
    };
    (void)test;
    runViewer(0, nullptr);
    return rates;
}

TEST_F(ShellTest, FirstTwoPassesHandThirtyAndTheThirdTheMeasuredRate) {
    const std::vector<float> rates = frameRatesHandedOn(*this, 0.05, 6);
    ASSERT_EQ(rates.size(), 6u);
    EXPECT_EQ(rates[0], 30.0f);
    EXPECT_EQ(rates[1], 30.0f);
    // Measured at the start of the third pass, after two swaps.
    EXPECT_EQ(rates[2], 3.0f / static_cast<float>(0.1));
    EXPECT_EQ(rates[3], rates[2]);
    EXPECT_EQ(rates[4], rates[2]);
    // The next measurement covers three full passes.
    EXPECT_EQ(rates[5], 3.0f / static_cast<float>(0.15000000000000002));
}

TEST_F(ShellTest, MeasuredRatesBelowFiveBecomeThirty) {
    // Two swaps before the first measurement: 1 second, 0.75 seconds, then 0.5 seconds.
    EXPECT_EQ(frameRatesHandedOn(*this, 0.5, 3)[2], 30.0f);
    SetUp();
    EXPECT_EQ(frameRatesHandedOn(*this, 0.375, 3)[2], 30.0f);
    SetUp();
    EXPECT_EQ(frameRatesHandedOn(*this, 0.25, 3)[2], 6.0f);
}

TEST_F(ShellTest, KeysAreSampledInAscendingOrderBelow320) {
    scriptedWindowing().closeRequestAtSwap = 2;
    atSwap(1, [] { pressKey(GLFW_KEY_CAPS_LOCK); });  // code 320
    runViewerFrom();

    const std::vector<int>& reads = scriptedWindowing().keysRead;
    ASSERT_EQ(reads.size(), 640u);
    for (int index = 0; index < 640; ++index) {
        EXPECT_EQ(reads[index], index % 320);
    }
}

TEST_F(ShellTest, AHeldKeyShowsFromThePassAfterTheSwapThatDeliveredIt) {
    struct KeyState {
        bool down;
        bool downBefore;
    };
    std::vector<KeyState> states;
    scriptedWindowing().closeRequestAtSwap = 4;
    atSwap(1, [] { pressKey(viewer_keys::kW); });
    atSwap(3, [] { releaseKey(viewer_keys::kW); });
    onRecordedCall() = [&states](const std::string& name) {
        if (name == "h3dRender") {
            states.push_back(
                {gApp->keyDown[viewer_keys::kW], gApp->keyDownBefore[viewer_keys::kW]});
        }
    };
    runViewerFrom();

    ASSERT_EQ(states.size(), 4u);
    EXPECT_FALSE(states[0].down);
    EXPECT_TRUE(states[1].down);
    EXPECT_FALSE(states[1].downBefore);
    EXPECT_TRUE(states[2].down);
    EXPECT_TRUE(states[2].downBefore);
    EXPECT_FALSE(states[3].down);
    EXPECT_TRUE(states[3].downBefore);
}

TEST_F(ShellTest, EachPassAppliesKeysThenRendersThenSwaps) {
    scriptedWindowing().closeRequestAtSwap = 2;
    atSwap(1, [] {
        pressKey(viewer_keys::kF3);
    });  // F3: the first pass to see it switches the pipeline
    runViewerFrom();
    const std::vector<std::string> names = loggedNames([](const RecordedCall& call) {
        return call.name == "h3dGetNodeParamI" || call.name == "h3dRender" ||
               call.name == "glfwSwapBuffers";
    });
    EXPECT_EQ(names, (std::vector<std::string>{"h3dRender", "glfwSwapBuffers", "h3dGetNodeParamI",
                                               "h3dRender", "glfwSwapBuffers"}));
}

}  // namespace
