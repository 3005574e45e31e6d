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
        // glibc's names, then the Windows C library's ("German_Germany.1252").
        for (const char* name :
             {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8",
              "es_ES.UTF-8", "it_IT.UTF-8", "German_Germany.1252", "French_France.1252"}) {
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

// The first formatting pass has a 256-byte buffer: texts around and past it come out whole.
TEST(TextFormat, TextsOfAnyLengthComeOutWhole) {
    for (const int length : {0, 1, 255, 256, 257, 1000, 70000}) {
        SCOPED_TRACE(length);
        const std::string text(static_cast<std::size_t>(length), 'x');
        EXPECT_EQ(model::FormatText("%s", text.c_str()), text);
        EXPECT_EQ(model::FormatText("[%s]%d", text.c_str(), 7), "[" + text + "]7");
    }
}

// The same text on every C library: two exponent digits unless three are needed.
TEST(TextFormat, GeneralFormHasTheSameExponentEverywhere) {
    struct Case {
        double value;
        int digits;
        const char* text;
    };
    const Case cases[] = {
        {-3e-8, 6, "-3e-08"},      {1.5e-5, 6, "1.5e-05"},        {1e100, 6, "1e+100"},
        {2.5e-300, 6, "2.5e-300"}, {1234567.0, 6, "1.23457e+06"}, {0.35, 6, "0.35"},
        {1e8, 15, "100000000"},    {-3e-8, 15, "-3e-08"},         {1e-8, 15, "1e-08"},
        {0.1, 15, "0.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(model::FormatGeneral(c.value, c.digits), c.text);
    }
    EXPECT_EQ(model::FormatGeneral(-3e-8), "-3e-08") << "six digits by default";
}

} // namespace
} // namespace qpx::test
