// Stored 32-bit floats are shown with the digits the author typed, not the double's expansion.
#include <gtest/gtest.h>

#include "platform/number.h"
#include "support/program_state.h"

namespace {

class FloatTextTest : public ::testing::Test {
protected:
    void SetUp() override { testenv::ResetProgramState(); }
    void TearDown() override { testenv::ResetProgramState(); }
};

TEST_F(FloatTextTest, ShowsTheShortestTextThatReadsBackToTheSameFloat) {
    EXPECT_EQ(plat::FloatText(12.3f), "12.3");
    EXPECT_EQ(plat::FloatText(0.1f), "0.1");
    EXPECT_EQ(plat::FloatText(250.1f), "250.1");
    EXPECT_EQ(plat::FloatText(-999.99f), "-999.99");
    EXPECT_EQ(plat::FloatText(3.0f), "3");
    EXPECT_EQ(plat::FloatText(0.0f), "0");
    EXPECT_EQ(plat::FloatText(16777217.0f), "16777216");
    // Very small values keep the exponent form of the program's other number texts.
    EXPECT_EQ(plat::FloatText(1e-7f), "1E-07");
    plat::SetDecimalSeparator(',');
    EXPECT_EQ(plat::FloatText(-0.7f), "-0,7");
}

}  // namespace
