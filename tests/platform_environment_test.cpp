// Environment variables set and read through the platform layer.
#include "platform/environment.h"

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace {

using kxt::platform::GetEnvironmentValue;
using kxt::platform::SetEnvironmentValue;

TEST(PlatformEnvironment, UnsetVariableHasNoValue) {
    EXPECT_FALSE(GetEnvironmentValue("KXT_TEST_NEVER_SET_ANYWHERE").has_value());
}

TEST(PlatformEnvironment, SetValueReplacesTheEarlierOneAndKeepsUtf8) {
    ASSERT_TRUE(SetEnvironmentValue("KXT_TEST_ENVIRONMENT", "first"));
    ASSERT_TRUE(SetEnvironmentValue("KXT_TEST_ENVIRONMENT", "Öl \xE2\x82\xAC / second"));
    EXPECT_EQ(GetEnvironmentValue("KXT_TEST_ENVIRONMENT"), "Öl \xE2\x82\xAC / second");
#if !defined(_WIN32)
    // An empty value is still a value (Windows removes the variable instead).
    ASSERT_TRUE(SetEnvironmentValue("KXT_TEST_ENVIRONMENT", ""));
    EXPECT_EQ(GetEnvironmentValue("KXT_TEST_ENVIRONMENT"), "");
#endif
}

// The stand-in modules read their variables with the C library's getenv.
TEST(PlatformEnvironment, ValueSetHereIsSeenByGetenv) {
    ASSERT_TRUE(SetEnvironmentValue("KXT_TEST_SEEN_BY_GETENV", "german"));
    const char* value = std::getenv("KXT_TEST_SEEN_BY_GETENV");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(std::string(value), "german");
}

TEST(PlatformEnvironment, InvalidNameIsRefused) {
    EXPECT_FALSE(SetEnvironmentValue("KXT=TEST", "value"));
    EXPECT_FALSE(SetEnvironmentValue("", "value"));
}

}  // namespace
