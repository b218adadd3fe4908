#include "tooltip/MarkupValue.h"

#include <gtest/gtest.h>

#include <utility>

namespace deskwarden::tooltip {
namespace {

class TagNumber : public testing::TestWithParam<std::pair<const char*, std::uint32_t>>
{
};

TEST_P(TagNumber, ReadsInTheBaseItsPrefixNames)
{
    EXPECT_EQ(ReadTagNumber(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(MarkupValue, TagNumber,
    testing::Values(std::pair {"17", 17U}, std::pair {"0x1F", 31U}, std::pair {"0XaB", 171U}, std::pair {"017", 15U},
        std::pair {"0", 0U}, std::pair {"", 0U}, std::pair {"0x", 0U}, std::pair {"08", 0U}, std::pair {"12ab", 12U},
        std::pair {"0x0000FF", 255U}, std::pair {"4294967295", 4294967295U}, std::pair {"4294967296", 4294967295U},
        std::pair {"0x1234567890", 4294967295U}, std::pair {"-5", 0U}));

} // namespace
} // namespace deskwarden::tooltip
