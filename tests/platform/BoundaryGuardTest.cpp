#include <platform/BoundaryGuard.h>

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

using namespace platform;

namespace {

int ThrowRuntime()
{
    throw std::runtime_error("disk on fire");
}

int ThrowNonStandard()
{
    throw 42;
}

// Tells exceptions apart the way a boundary with several status codes does.
int StatusOfCurrentException() noexcept
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return 8;
    } catch (...) {
        return 13;
    }
}

static_assert(noexcept(Guarded(0, ThrowRuntime)));
static_assert(noexcept(GuardedCall(ThrowRuntime)));

TEST(BoundaryGuardTest, BodyResultPassesThroughAndFailureValueReplacesAnyThrow)
{
    EXPECT_EQ(Guarded(-1, [] { return 7; }), 7);
    EXPECT_EQ(Guarded(-1, ThrowRuntime), -1);
    EXPECT_EQ(Guarded(-1, ThrowNonStandard), -1);
    EXPECT_EQ(Guarded<const char*>(nullptr, []() -> const char* { throw std::bad_alloc(); }), nullptr);
    EXPECT_EQ(Guarded(std::string(), []() -> std::string { throw std::bad_alloc(); }), "");
}

TEST(BoundaryGuardTest, ErrorTextReceivesTheReasonOnlyWhenTheBodyThrows)
{
    std::string error = "earlier text";
    EXPECT_EQ(Guarded(0, error, [] { return 1; }), 1);
    EXPECT_EQ(error, "earlier text");

    EXPECT_EQ(Guarded(0, error, ThrowRuntime), 0);
    EXPECT_EQ(error, "disk on fire");

    EXPECT_EQ(Guarded(0, error, ThrowNonStandard), 0);
    EXPECT_EQ(error, "unknown exception");
}

TEST(BoundaryGuardTest, FailureHandlerRunsOnlyOnThrowAndCanTellExceptionsApart)
{
    int handled = 0;
    const auto onFailure = [&] {
        ++handled;
        return StatusOfCurrentException();
    };
    EXPECT_EQ(GuardedOr([] { return 0; }, onFailure), 0);
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(GuardedOr([]() -> int { throw std::bad_alloc(); }, onFailure), 8);
    EXPECT_EQ(GuardedOr(ThrowRuntime, onFailure), 13);
    EXPECT_EQ(handled, 2);

    std::string reason;
    GuardedOr(ThrowRuntime, [&] {
        reason = CurrentExceptionText();
        return 0;
    });
    EXPECT_EQ(reason, "disk on fire");
}

TEST(BoundaryGuardTest, CallWithoutResultTellsWhetherItRanToTheEnd)
{
    bool ran = false;
    EXPECT_TRUE(GuardedCall([&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(GuardedCall([] { throw std::logic_error("no"); }));
}

} // namespace
