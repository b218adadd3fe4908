// The engine's boundary: an export's body runs against the process context and nothing it throws leaves
// the library; the caller finds the reason where it reads every other failure reason.
#include <gtest/gtest.h>

#include "EngineContext.h"
#include "HalvoxEngine.h"
#include "ProcessContext.h"

#include <new>
#include <stdexcept>
#include <string>

namespace {

using halvox::EngineContext;
using halvox::WithContext;

class ExportBoundary : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(SVE_Initialize(), nullptr); }
    void TearDown() override { SVE_Destruct(); }
};

TEST_F(ExportBoundary, ThrowingBodyGivesTheFailureValueAndLeavesItsReasonInTheLabel)
{
    const int result = WithContext(-7, [](EngineContext&) -> int { throw std::runtime_error("disk full"); });
    EXPECT_EQ(result, -7);
    EXPECT_STREQ(SVE_GetLabelString(), "disk full");

    WithContext([](EngineContext&) { throw std::bad_alloc(); });
    EXPECT_STREQ(SVE_GetLabelString(), std::bad_alloc().what());
}

TEST_F(ExportBoundary, BodyThatReturnsLeavesTheLabelAlone)
{
    WithContext([](EngineContext& context) { halvox::CopyText(context.labelText, "earlier"); });
    EXPECT_EQ(WithContext(0, [](EngineContext&) { return 3; }), 3);
    EXPECT_STREQ(SVE_GetLabelString(), "earlier");
}

TEST(ExportBoundaryWithoutContext, NoContextGivesTheFailureValueWithoutRunningTheBody)
{
    SVE_Destruct();
    bool ran = false;
    EXPECT_EQ(WithContext(-1,
                  [&](EngineContext&) {
                      ran = true;
                      return 1;
                  }),
        -1);
    WithContext([&](EngineContext&) { ran = true; });
    EXPECT_FALSE(ran);
}

} // namespace
