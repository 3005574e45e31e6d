#include "planning/EditReading.h"

#include <cfloat>
#include <climits>
#include <clocale>
#include <string>

#include <gtest/gtest.h>

namespace {

using qpx::planning::DecimalReading;
using qpx::planning::IntegerReading;

struct DecimalCase {
    std::string text;
    float expected;
};

class DecimalReadingCases : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalReadingCases, TakesTheLeadingNumber) {
    EXPECT_EQ(DecimalReading(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecimalReadingCases,
    ::testing::Values(DecimalCase{"0", 0.0f}, DecimalCase{".", 0.0f}, DecimalCase{"-", 0.0f},
                      DecimalCase{"abc", 0.0f}, DecimalCase{"", 0.0f}, DecimalCase{"1.64", 1.64f},
                      DecimalCase{"  2.5", 2.5f}, DecimalCase{"12x", 12.0f},
                      DecimalCase{"-0.5", -0.5f}, DecimalCase{".5", 0.5f}, DecimalCase{"5.", 5.0f},
                      DecimalCase{"1,5", 1.0f}, DecimalCase{"2e3", 2000.0f},
                      DecimalCase{"2e", 2.0f}, DecimalCase{"2e-", 2.0f}, DecimalCase{"0x10", 0.0f},
                      DecimalCase{"inf", 0.0f}, DecimalCase{"nan", 0.0f},
                      DecimalCase{"1e39", FLT_MAX}, DecimalCase{"-1e999", -FLT_MAX},
                      DecimalCase{"1e-999", 0.0f}, DecimalCase{"+3", 3.0f}));

struct IntegerCase {
    std::string text;
    int expected;
};

class IntegerReadingCases : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerReadingCases, TakesTheLeadingInteger) {
    EXPECT_EQ(IntegerReading(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, IntegerReadingCases,
                         ::testing::Values(IntegerCase{"20", 20}, IntegerCase{"2.5", 2},
                                           IntegerCase{"-", 0}, IntegerCase{"x1", 0},
                                           IntegerCase{" 7", 7}, IntegerCase{"-3", -3},
                                           IntegerCase{"99999999999", INT_MAX},
                                           IntegerCase{"-99999999999999999999", INT_MIN}));

// A desktop switched to a comma locale must not change what an edit reads.
TEST(EditReading, IgnoresTheCLibraryLocale) {
    const char* chosen = nullptr;
    for (const char* name :
         {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "German_Germany.1252"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr) {
        GTEST_SKIP() << "no comma-decimal locale installed";
    }
    const float decimal = DecimalReading("0.35");
    const float comma = DecimalReading("0,35");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(decimal, 0.35f);
    EXPECT_EQ(comma, 0.0f);
}

} // namespace
