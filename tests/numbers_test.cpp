// Parsing and formatting numbers in every form the program shows or writes.
#include "frame/errors.h"
#include "frame/numbers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace fyl;
using namespace fyl::numbers;

namespace {

std::string s(const QString& text) {
    return text.toStdString();
}

class NumbersTest : public testing::Test {
protected:
    void SetUp() override { setDecimalSeparator(QLatin1Char(',')); }
    void TearDown() override { setDecimalSeparator(QLatin1Char(',')); }
};

} // namespace

TEST_F(NumbersTest, FixedRoundsToPrecisionOrDecimalsWhicheverIsFewer) {
    EXPECT_EQ(s(formatFixed(12.345, 4, 2)), "12,35");
    EXPECT_EQ(s(formatFixed(123.456, 4, 2)), "123,50");
    EXPECT_EQ(s(formatFixed(0.05, 4, 2)), "0,05");
    EXPECT_EQ(s(formatFixed(375, 5, 2)), "375,00");
    EXPECT_EQ(s(formatFixed(3.018, 4, 1)), "3,0");
    EXPECT_EQ(s(formatFixed(4000, 6, 0)), "4000");
    EXPECT_EQ(s(formatFixed(20.001, 6, 2)), "20,00");
}

TEST_F(NumbersTest, FixedRoundsHalfAwayFromZero) {
    EXPECT_EQ(s(formatFixed(0.125, 4, 2)), "0,13");
    EXPECT_EQ(s(formatFixed(-0.125, 4, 2)), "-0,13");
    EXPECT_EQ(s(formatFixed(2.5, 4, 0)), "3");
    EXPECT_EQ(s(formatFixed(9.995, 4, 2)), "10,00"); // carry into a new integer digit
    EXPECT_EQ(s(formatFixed(99.96, 3, 1)), "100,0");
}

TEST_F(NumbersTest, FixedKeepsTinyAndNegativeValuesReadable) {
    EXPECT_EQ(s(formatFixed(0.004, 4, 2)), "0,00");
    EXPECT_EQ(s(formatFixed(0.006, 4, 2)), "0,01");
    EXPECT_EQ(s(formatFixed(-0.001, 4, 2)), "0,00"); // no "-0,00"
    EXPECT_EQ(s(formatFixed(-3.5, 4, 1)), "-3,5");
    EXPECT_EQ(s(formatFixed(0, 4, 2)), "0,00");
}

TEST_F(NumbersTest, FixedSwitchesToExponentBeyondPrecision) {
    EXPECT_EQ(s(formatFixed(1234567, 4, 2)), "1,235E6");
    EXPECT_EQ(s(formatFixed(12345, 4, 0)), "1,235E4");
    EXPECT_EQ(s(formatFixed(9999.6, 4, 0)), "1E4"); // rounding itself adds the fifth digit
}

TEST_F(NumbersTest, GeneralIsShortest) {
    EXPECT_EQ(s(formatGeneral(35)), "35");
    EXPECT_EQ(s(formatGeneral(0.2)), "0,2");
    EXPECT_EQ(s(formatGeneral(20.001)), "20,001");
    EXPECT_EQ(s(formatGeneral(-1.5)), "-1,5");
    EXPECT_EQ(s(formatGeneral(0.0001)), "0,0001");
    EXPECT_EQ(s(formatGeneral(0.00001)), "1E-5");
    EXPECT_EQ(s(formatGeneral(1e20)), "1E20");
    EXPECT_EQ(s(formatGeneral(1.0 / 3.0)), "0,333333333333333");
    EXPECT_EQ(s(formatGeneral(0)), "0");
}

TEST_F(NumbersTest, WidthFormIsRightAlignedWithAPoint) {
    EXPECT_EQ(s(formatWidth(12.5, 4, 2)), "12.50");
    EXPECT_EQ(s(formatWidth(4, 1, 0)), "4");
    EXPECT_EQ(s(formatWidth(27, 5, 2)), "27.00");
    EXPECT_EQ(s(formatWidth(2, 5, 2)), " 2.00");
    EXPECT_EQ(s(formatWidth(-6, 5, 2)), "-6.00");
    setDecimalSeparator(QLatin1Char(','));
    EXPECT_EQ(s(formatWidth(0.5, 1, 1)), "0.5"); // exchange form ignores the dialogue's comma
}

TEST_F(NumbersTest, ScientificFormOfTheEvaluator) {
    EXPECT_EQ(s(formatScientific(20, 16)), " 2.00000000E+0001");
    EXPECT_EQ(s(formatScientific(-0.0125, 16)), "-1.25000000E-0002");
    EXPECT_EQ(s(formatScientific(0, 16)), " 0.00000000E+0000");
    EXPECT_EQ(s(formatScientific(3.14159265358979323851L, 0)), " 3.14159265358979324E+0000");
}

TEST_F(NumbersTest, ParseAcceptsTheDialogueForm) {
    EXPECT_EQ(parseReal(QStringLiteral("12,5")), 12.5L);
    EXPECT_EQ(parseReal(QStringLiteral("  -3  ")), -3.0L);
    EXPECT_EQ(parseReal(QStringLiteral("1,5E-3")), 1.5e-3L);
    EXPECT_EQ(parseReal(QStringLiteral("+2e2")), 200.0L);
    EXPECT_EQ(parseReal(QStringLiteral(",5")), 0.5L);
    EXPECT_EQ(parseReal(QStringLiteral("20,001")), 20.001L);
    EXPECT_EQ(parseInt(QStringLiteral(" 42 ")), 42);
    EXPECT_EQ(parseInt(QStringLiteral("-7")), -7);
}

TEST_F(NumbersTest, ParseRefusesEverythingElseNamingTheText) {
    for (const char* bad : {"", " ", "12.5", "1,2,3", "abc", "3m", "1E", "--1", ",", "1e99999"}) {
        try {
            parseReal(QString::fromLatin1(bad));
            ADD_FAILURE() << "accepted " << bad;
        } catch (const ConversionError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromLatin1(bad))) << bad;
        }
    }
    for (const char* bad : {"", "1,5", "12a", "99999999999", "+", "1 2"})
        EXPECT_THROW(parseInt(QString::fromLatin1(bad)), ConversionError) << bad;
}

TEST_F(NumbersTest, PointSeparatorSettingAppliesEverywhere) {
    setDecimalSeparator(QLatin1Char('.'));
    EXPECT_EQ(s(formatFixed(12.345, 4, 2)), "12.35");
    EXPECT_EQ(s(formatGeneral(0.2)), "0.2");
    EXPECT_EQ(parseReal(QStringLiteral("12.5")), 12.5L);
    EXPECT_THROW(parseReal(QStringLiteral("12,5")), ConversionError);
}

TEST_F(NumbersTest, NonFiniteValuesNeverBecomeText) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_THROW(formatFixed(inf, 4, 2), ArithmeticError);
    EXPECT_THROW(formatGeneral(std::nan("")), ArithmeticError);
    EXPECT_THROW(formatWidth(-inf, 5, 2), ArithmeticError);
    EXPECT_THROW(formatScientific(std::nan(""), 16), ArithmeticError);
}

// Stored doubles take the quicker double conversion; its digits must be those of the extended one,
// ties included, or every shown figure could change by one in the last place.
TEST(NumberDigits, DoubleConversionGivesTheDigitsOfTheExtendedOne) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> decimal(0.0, 20000.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    auto digits = [](auto value, int significant) {
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
        return std::string(buf, res.ptr);
    };
    std::vector<double> values = {0.125, 2.5, 0.375, 1e15 + 0.5, 12.345, 0.1, 1.0 / 3.0, 9.9999999999999995,
                                  std::numeric_limits<double>::min(), std::numeric_limits<double>::max()};
    for (int i = 0; i < 100000; ++i) {
        values.push_back(std::round(decimal(random) * 1000.0) / 1000.0); // typed values
        values.push_back(std::ldexp(decimal(random), exponent(random))); // computed ones
    }
    for (const double v : values)
        for (const int significant : {1, 2, 3, 15, 16, 17, 18})
            ASSERT_EQ(digits(v, significant), digits(static_cast<long double>(v), significant)) << v;
}
