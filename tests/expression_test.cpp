// The arithmetic of numeric input, with the texts it rewrites.
#include "frame/expression.h"

#include <gtest/gtest.h>

using namespace fyl;

namespace {

struct Outcome {
    int error;
    float value;
    QString text;
    int calcStatus;
};

Outcome evaluate(const QString& input, std::int16_t width = 5, std::int32_t decimals = 2) {
    Outcome o{0, -1.0f, input, -99};
    o.error = ExpressionEvaluator(o.text, o.value, width, decimals, o.calcStatus);
    return o;
}

} // namespace

TEST(ExpressionEvaluator, RewritesTheTextWithTheResult) {
    Outcome o = evaluate(QStringLiteral("4,5*6"));
    EXPECT_EQ(o.error, 0);
    EXPECT_EQ(o.value, 27.0f);
    EXPECT_EQ(o.text, "4,5*6=27.00");

    o = evaluate(QStringLiteral("100"));
    EXPECT_EQ(o.value, 100.0f);
    EXPECT_EQ(o.text, "100.00"); // no operator, no "="

    o = evaluate(QStringLiteral("7=old note"));
    EXPECT_EQ(o.value, 7.0f);
    EXPECT_EQ(o.text, " 7.00"); // cut at "=", then the result 5 wide

    o = evaluate(QStringLiteral("(2 + 3) * 4"), 8, 1);
    EXPECT_EQ(o.value, 20.0f);
    EXPECT_EQ(o.text, "(2 + 3) * 4=    20.0");
}

// "*" and "/" before "+" and "-", each pair left to right, also through the negative numbers
// and exponents that earlier steps write back into the text.
TEST(ExpressionEvaluator, PrecedenceLeftToRightAndSigns) {
    struct Case {
        const char* input;
        int error; // 0, or the operator's position in the text of the step that failed
        float value;
    };
    const Case cases[] = {
        {"10-2+3", 0, 11.0f},
        {"8/2*2", 0, 8.0f},
        {"12*8,5-2*3+4", 0, 100.0f},
        {"10-2-3", 0, 5.0f},
        {"((1+1)*(2+1))", 0, 6.0f},
        // Negative results and exponents written back into the text by an earlier step.
        {"2-5+1", 0, -2.0f},
        {"1E2/4*2", 0, 50.0f},
        {"2*-3+1", 0, -5.0f},
        {"6/-2*3", 0, -9.0f},
        // Signs: leading, after an operator, in an exponent.
        {"-3*2", 0, -6.0f},
        {"5-3*-1", 0, 8.0f},
        {"1E3/4", 0, 250.0f},
        {"1E-3+1", 0, 1.001f},
        // The "/" fails before the "*" is reached; then the "*" fails in " 2.00000000E+0000*A"
        // and the "+" in "-1.00000000E+0000+A".
        {"8/A*2", 2, 0.0f},
        {"6/3*A", 18, 0.0f},
        {"2-3+A", 18, 0.0f},
    };
    for (const Case& c : cases) {
        const Outcome o = evaluate(QString::fromLatin1(c.input));
        EXPECT_EQ(o.error, c.error) << c.input;
        EXPECT_EQ(o.value, c.value) << c.input;
    }
}

TEST(ExpressionEvaluator, SinglePrecisionAndPi) {
    // pi narrowed to float, times 2, narrowed again.
    const Outcome o = evaluate(QStringLiteral("2*pi"));
    EXPECT_EQ(o.error, 0);
    EXPECT_EQ(o.value, 6.2831855f);
    EXPECT_EQ(o.text, "2*pi= 6.28");
    // 1/3 rounds to single precision: 0.333333343
    EXPECT_EQ(evaluate(QStringLiteral("1/3")).value, 1.0f / 3.0f);
    EXPECT_EQ(evaluate(QStringLiteral("16777217")).value, 16777216.0f);
}

TEST(ExpressionEvaluator, ErrorsAndTheirPositions) {
    Outcome o = evaluate(QStringLiteral("(2+3"));
    EXPECT_EQ(o.error, -1);
    EXPECT_EQ(o.value, 0.0f);
    EXPECT_EQ(o.calcStatus, -1);
    EXPECT_EQ(evaluate(QStringLiteral("5/0")).error, -1);
    EXPECT_EQ(evaluate(QStringLiteral("1E30*1E30")).error, -1); // beyond 1e38
    EXPECT_EQ(evaluate(QStringLiteral("3E38")).value, 3e38f);   // a plain number only has to fit a float
    EXPECT_EQ(evaluate(QStringLiteral("4E38")).error, -1);
    o = evaluate(QStringLiteral("2*A=x"));
    EXPECT_EQ(o.error, 2); // the operator's position
    EXPECT_EQ(o.value, 0.0f);
    EXPECT_EQ(o.text, "2*A"); // cut at "=" also on failure
    EXPECT_EQ(evaluate(QStringLiteral("3+")).error, 2);
    EXPECT_EQ(evaluate(QStringLiteral(")2(")).error, 1); // no "(" before the first ")"
    o = evaluate(QStringLiteral("12X"));
    EXPECT_EQ(o.error, 3); // position from the final number conversion
    EXPECT_EQ(o.calcStatus, 3);
    // Each product "1*1" becomes a 16-character number: 16 of them need 16 * 16 + 15 = 271 characters.
    QString many = QStringLiteral("1*1");
    for (int i = 1; i < 16; ++i)
        many += QStringLiteral("+1*1");
    EXPECT_EQ(evaluate(many).error, -1);
    EXPECT_EQ(evaluate(QString(300, QLatin1Char('1'))).error, -1);
}
