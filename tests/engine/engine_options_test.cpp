#include <gtest/gtest.h>

#include "engine/base/engine_options.h"
#include "engine/h3d.h"

using engine::EngineOptions;

TEST(EngineOptions, KeepsTheValuesTheViewerSets) {
    EngineOptions options;
    std::string error;
    EXPECT_TRUE(options.set(H3DOptions::LoadTextures, 1.0f, error));
    EXPECT_TRUE(options.set(H3DOptions::TexCompression, 0.0f, error));
    EXPECT_TRUE(options.set(H3DOptions::FastAnimation, 0.0f, error));
    EXPECT_TRUE(options.set(H3DOptions::MaxAnisotropy, 16.0f, error));
    EXPECT_TRUE(options.set(H3DOptions::ShadowMapSize, 256.0f, error));
    EXPECT_EQ(options.get(H3DOptions::LoadTextures), 1.0f);
    EXPECT_EQ(options.get(H3DOptions::TexCompression), 0.0f);
    EXPECT_EQ(options.get(H3DOptions::FastAnimation), 0.0f);
    EXPECT_EQ(options.get(H3DOptions::MaxAnisotropy), 16.0f);
    EXPECT_EQ(options.maxAnisotropy(), 16);
    EXPECT_EQ(options.shadowMapSize(), 256);
}

TEST(EngineOptions, RejectsUnknownOptionsAndValuesOutOfRange) {
    EngineOptions options;
    std::string error;
    EXPECT_FALSE(options.set(6, 1.0f, error));
    EXPECT_NE(error.find("unknown option 6"), std::string::npos);
    EXPECT_FALSE(options.get(6).has_value());

    EXPECT_FALSE(options.set(H3DOptions::MaxAnisotropy, 17.0f, error));
    EXPECT_NE(error.find("from 1 to 16"), std::string::npos);
    EXPECT_FALSE(options.set(H3DOptions::LoadTextures, 0.5f, error));
    EXPECT_FALSE(options.set(H3DOptions::ShadowMapSize, 300.0f, error));
    EXPECT_NE(error.find("powers of two"), std::string::npos);
    EXPECT_FALSE(
        options.set(H3DOptions::ShadowMapSize, std::numeric_limits<float>::quiet_NaN(), error));
    // A rejected value leaves the old one.
    EXPECT_EQ(options.shadowMapSize(), 1024);
}

TEST(EngineOptions, StartsFromDefaults) {
    EngineOptions options;
    EXPECT_TRUE(options.loadTextures());
    EXPECT_TRUE(options.trilinearFiltering());
    EXPECT_EQ(options.maxAnisotropy(), 1);
    EXPECT_EQ(options.maxLogLevel(), 4);
    EXPECT_EQ(options.maxMessageCount(), 512);
}
