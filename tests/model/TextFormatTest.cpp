#include "model/TextFormat.h"

#include <clocale>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

// Puts the process into a comma-decimal locale, as a Qt program on a German desktop runs, and
// always returns to "C".
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8",
                                 "nl_NL.UTF-8", "es_ES.UTF-8", "it_IT.UTF-8"}) {
            if (std::setlocale(LC_ALL, name) != nullptr &&
                std::string(std::localeconv()->decimal_point) == ",") {
                return;
            }
        }
        std::setlocale(LC_ALL, "C");
        GTEST_SKIP() << "no comma-decimal locale installed (CI installs de_DE.UTF-8)";
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(CommaLocale, NumbersStayInTheCLocaleForm) {
    EXPECT_EQ(model::FormatText("%6.2f", 0.5), "  0.50");
    EXPECT_EQ(model::FormatText("%8.3f", -0.70703125), "  -0.707");
    EXPECT_EQ(model::FormatText("%g", 1234.5), "1234.5");
    EXPECT_EQ(model::ParseFloat("0.50"), 0.5f);
    EXPECT_EQ(model::ParseDouble("1520.95"), 1520.95);
    EXPECT_FALSE(model::ParseFloat("0,50").has_value());
}

TEST(TextParse, WholeTextOnly) {
    EXPECT_EQ(model::ParseFloat(" 12.5 "), 12.5f);
    EXPECT_EQ(model::ParseInteger("+42"), 42);
    EXPECT_EQ(model::ParseInteger("-7"), -7);
    EXPECT_FALSE(model::ParseFloat("").has_value());
    EXPECT_FALSE(model::ParseFloat("1.5x").has_value());
    EXPECT_FALSE(model::ParseFloat("1e60").has_value());
    EXPECT_FALSE(model::ParseDouble("nan").has_value());
    EXPECT_FALSE(model::ParseInteger("1.5").has_value());
    EXPECT_FALSE(model::ParseInteger("99999999999999999999").has_value());
}

} // namespace
} // namespace qpx::test
