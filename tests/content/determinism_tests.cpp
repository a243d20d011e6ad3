#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "expected_files.h"
#include "generated_content.h"

namespace content_tests {
namespace {

std::set<std::string> fileNames(const std::filesystem::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(ContentGeneration, WritesEveryExpectedFileAndNothingElse) {
    const std::vector<std::string> expected = expectedFiles();
    EXPECT_EQ(fileNames(generatedRuns().first),
              std::set<std::string>(expected.begin(), expected.end()));
}

TEST(ContentGeneration, WritesTheSameBytesOnEveryRun) {
    const GeneratedRuns& runs = generatedRuns();
    ASSERT_EQ(fileNames(runs.first), fileNames(runs.second));
    for (const std::string& name : fileNames(runs.first)) {
        const auto first = readBytes(runs.first / name);
        const auto second = readBytes(runs.second / name);
        EXPECT_FALSE(first.empty()) << name;
        EXPECT_TRUE(first == second) << name << " differs between runs";
    }
}

TEST(ContentGeneration, SummaryMatchesTheFilesOnDisk) {
    const GeneratedRuns& runs = generatedRuns();
    ASSERT_EQ(runs.summary.files.size(), expectedFiles().size());
    for (const content::GeneratedFile& file : runs.summary.files) {
        EXPECT_EQ(file.bytes, std::filesystem::file_size(runs.first / file.name)) << file.name;
    }
}

}  // namespace
}  // namespace content_tests
