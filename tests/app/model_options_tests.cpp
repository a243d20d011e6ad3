// open-model's command line: what each option sets, and the one line each bad one gives.
#include <gtest/gtest.h>

#include "app/model_options.h"

namespace {

ParsedOptions parse(std::vector<std::string> arguments) {
    return parseModelOptions(arguments);
}

}  // namespace

TEST(ModelOptionsTest, FilesAloneTakeTheDefaults) {
    const ParsedOptions parsed = parse({"a.glb", "b.gltf"});
    ASSERT_EQ(parsed.fault, "");
    EXPECT_EQ(parsed.options.files, (std::vector<std::string>{"a.glb", "b.gltf"}));
    EXPECT_EQ(parsed.options.outputPath, "");
    EXPECT_EQ(parsed.options.width, 1366);
    EXPECT_EQ(parsed.options.height, 768);
    EXPECT_EQ(parsed.options.up, UpAxis::PlusY);
    EXPECT_EQ(parsed.options.pipeline, "master");
    EXPECT_FALSE(parsed.options.watch);
    EXPECT_EQ(parsed.options.hdriPath, "");
}

TEST(ModelOptionsTest, EveryOptionTakesItsValueSeparateOrAfterAnEqualsSign) {
    const ParsedOptions parsed =
        parse({"--output", "shot.png", "--resolution=640x480", "--up", "+Z", "--time=1.5",
               "--pipeline", "simple", "--watch", "robot.glb"});
    ASSERT_EQ(parsed.fault, "");
    EXPECT_EQ(parsed.options.files, (std::vector<std::string>{"robot.glb"}));
    EXPECT_EQ(parsed.options.outputPath, "shot.png");
    EXPECT_EQ(parsed.options.width, 640);
    EXPECT_EQ(parsed.options.height, 480);
    EXPECT_EQ(parsed.options.up, UpAxis::PlusZ);
    EXPECT_FLOAT_EQ(parsed.options.seconds, 1.5f);
    EXPECT_EQ(parsed.options.pipeline, "simple");
    EXPECT_TRUE(parsed.options.watch);
}

TEST(ModelOptionsTest, APictureWithoutExtensionIsAThumbnailersTemporaryFile) {
    EXPECT_EQ(parse({"--output", "/tmp/thumbnail-1A2B", "f"}).options.outputPath,
              "/tmp/thumbnail-1A2B");
    EXPECT_EQ(parse({"--output", "/tmp/.hidden/shot.PNG", "f"}).fault, "");
}

TEST(ModelOptionsTest, AnHdriIsAHdrOrExrFileOfAnyCase) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--hdri", "sky.hdr", "f"}, {"--hdri=sky.hdr", "f"}, {"f", "--hdri", "sky.hdr"}}) {
        const ParsedOptions parsed = parse(arguments);
        EXPECT_EQ(parsed.fault, "");
        EXPECT_EQ(parsed.options.hdriPath, "sky.hdr");
        EXPECT_EQ(parsed.options.files, (std::vector<std::string>{"f"}));
    }
    EXPECT_EQ(parse({"--hdri", "/skies/Studio.HDR", "f"}).options.hdriPath, "/skies/Studio.HDR");
    EXPECT_EQ(parse({"--hdri=../dusk.Exr", "f"}).options.hdriPath, "../dusk.Exr");
    // Whether the file exists is for the loading to say.
    EXPECT_EQ(parse({"--hdri", "missing/sky.hdr", "f"}).fault, "");
}

TEST(ModelOptionsTest, EachUpAxisIsNamedWithItsSign) {
    EXPECT_EQ(parse({"--up", "-X", "f"}).options.up, UpAxis::MinusX);
    EXPECT_EQ(parse({"--up", "+x", "f"}).options.up, UpAxis::PlusX);
    EXPECT_EQ(parse({"--up", "Z", "f"}).options.up, UpAxis::PlusZ);
    EXPECT_EQ(parse({"--up", "-y", "f"}).options.up, UpAxis::MinusY);
    EXPECT_EQ(parse({"--up", "-Z", "f"}).options.up, UpAxis::MinusZ);
}

TEST(ModelOptionsTest, HelpAndVersionNeedNoFile) {
    EXPECT_TRUE(parse({"--help"}).options.help);
    EXPECT_EQ(parse({"--help"}).fault, "");
    EXPECT_TRUE(parse({"--version"}).options.version);
    EXPECT_EQ(parse({"--version"}).fault, "");
}

TEST(ModelOptionsTest, AfterTwoDashesEveryArgumentIsAFile) {
    const ParsedOptions parsed = parse({"--", "--odd-name.glb", "-"});
    ASSERT_EQ(parsed.fault, "");
    EXPECT_EQ(parsed.options.files, (std::vector<std::string>{"--odd-name.glb", "-"}));
}

TEST(ModelOptionsTest, EachBadOptionNamesItselfAndWhatItAccepts) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--resolution", "640", "f"}, "--resolution takes WIDTHxHEIGHT"},
        {{"--resolution", "0x480", "f"}, "--resolution takes WIDTHxHEIGHT"},
        {{"--resolution", "640x99999", "f"}, "--resolution takes WIDTHxHEIGHT"},
        {{"--resolution", "-640x480", "f"}, "--resolution takes WIDTHxHEIGHT"},
        {{"--up", "up", "f"}, "--up takes +X, -X, +Y, -Y, +Z or -Z, not 'up'"},
        {{"--time", "soon", "f"}, "--time takes a number of seconds"},
        {{"--time", "-1", "f"}, "--time takes a number of seconds"},
        {{"--time", "nan", "f"}, "--time takes a number of seconds"},
        {{"--pipeline", "fancy", "f"}, "--pipeline takes master or simple, not 'fancy'"},
        {{"--output", "shot.jpg", "f"}, "--output takes the path of a .png file"},
        {{"--hdri", "sky.png", "f"}, "--hdri takes the path of a .hdr or .exr file, not 'sky.png'"},
        {{"--hdri=", "f"}, "--hdri takes the path of a .hdr or .exr file, not ''"},
        {{"--hdri", "hdr", "f"}, "--hdri takes the path of a .hdr or .exr file"},
        {{"--hdri", "sky.hdr/", "f"}, "--hdri takes the path of a .hdr or .exr file"},
        {{"f", "--hdri"}, "--hdri needs a value"},
        {{"--output", "", "f"}, "--output takes the path of a .png file"},
        {{"--frobnicate", "f"}, "unknown option '--frobnicate'"},
        {{"--watch=yes", "f"}, "--watch takes no value"},
        {{"f", "--output"}, "--output needs a value"},
        {{}, "no file named"},
        {{"--up", "+Z"}, "no file named"},
    };
    for (const auto& [arguments, expected] : cases) {
        const std::string fault = parse(arguments).fault;
        EXPECT_NE(fault.find(expected), std::string::npos) << fault << " lacks " << expected;
        EXPECT_EQ(fault.find('\n'), std::string::npos) << "one line: " << fault;
    }
}

TEST(ModelOptionsTest, HelpNamesEveryOptionAndKey) {
    const std::string help = modelHelpText();
    for (const char* word :
         {"--output", "--resolution", "--up", "--time", "--pipeline", "--hdri", "--watch", "--help",
          "--version", "Tab", "F5", "F12", "PageDown", "Space", "Esc", "F1", "F3"}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
    }
}
