#include <gtest/gtest.h>

#include <filesystem>

#include "engine/resources/content_file.h"
#include "test_support.h"

using engine::contentPath;
using engine::readContentFile;
using engine::siblingName;

TEST(ContentPath, JoinsDirectoryAndName) {
    EXPECT_EQ(contentPath("/data", "a.xml"), "/data/a.xml");
    EXPECT_EQ(contentPath("/data/", "a.xml"), "/data/a.xml");
    EXPECT_EQ(contentPath("/usr/bin//data", "a.xml"), "/usr/bin/data/a.xml");
    EXPECT_EQ(contentPath("C:\\viewer\\", "a.xml"), "C:\\viewer\\a.xml");
    EXPECT_EQ(contentPath("", "a.xml"), "a.xml");
    EXPECT_EQ(contentPath("data", "models/a.gltf"), "data/models/a.gltf");
}

TEST(ContentPath, SideFilesLieBesideTheirResource) {
    EXPECT_EQ(siblingName("statue.gltf", "statue.bin"), "statue.bin");
    EXPECT_EQ(siblingName("models/statue.gltf", "statue.bin"), "models/statue.bin");
    EXPECT_EQ(siblingName("a/b/c.gltf", "buffers/c.bin"), "a/b/buffers/c.bin");
}

TEST(ContentFile, ReadsTheBytes) {
    ScratchDirectory directory;
    directory.write("a.bin", std::string("x\0y", 3));
    std::string error;
    std::optional<std::string> bytes = readContentFile(directory.path() + "/a.bin", error);
    ASSERT_TRUE(bytes.has_value()) << error;
    EXPECT_EQ(*bytes, std::string("x\0y", 3));
}

TEST(ContentFile, SaysWhyAFileCannotBeRead) {
    ScratchDirectory directory;
    std::string error;
    EXPECT_FALSE(readContentFile(directory.path() + "/missing.xml", error).has_value());
    EXPECT_EQ(error, "file not found");
    EXPECT_FALSE(readContentFile(directory.path(), error).has_value());
    EXPECT_EQ(error, "not a regular file");

    // A sparse file takes no disk, but its size is refused before a byte is read.
    const std::string huge = directory.path() + "/huge.bin";
    std::filesystem::resize_file((directory.write("huge.bin", ""), huge),
                                 engine::kMaximumContentFileBytes + 1);
    EXPECT_FALSE(readContentFile(huge, error).has_value());
    EXPECT_EQ(error, "the file is larger than 2048 MiB");
}
