#include <gtest/gtest.h>

#include "engine/formats/number_text.h"

using engine::parseNumber;
using engine::parseNumberList;

TEST(NumberText, ReadsListsSeparatedByBlanksOrCommas) {
    auto numbers = parseNumberList(" 1 -2.5,3e2\t0.25 ");
    ASSERT_TRUE(numbers.has_value());
    EXPECT_EQ(*numbers, (std::vector<float>{1.0f, -2.5f, 300.0f, 0.25f}));
}

TEST(NumberText, EmptyTextIsAnEmptyList) {
    auto numbers = parseNumberList("   ");
    ASSERT_TRUE(numbers.has_value());
    EXPECT_TRUE(numbers->empty());
}

TEST(NumberText, RejectsWordsAndNonFiniteValues) {
    EXPECT_FALSE(parseNumberList("1 two 3").has_value());
    EXPECT_FALSE(parseNumberList("1 inf").has_value());
    EXPECT_FALSE(parseNumberList("nan").has_value());
    EXPECT_FALSE(parseNumberList("1e99").has_value());
    EXPECT_FALSE(parseNumberList("1.5x").has_value());
}

TEST(NumberText, ASingleNumberMustBeAlone) {
    EXPECT_EQ(parseNumber(" 4.5 "), 4.5f);
    EXPECT_FALSE(parseNumber("1 2").has_value());
    EXPECT_FALSE(parseNumber("").has_value());
}
