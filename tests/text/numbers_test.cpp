#include "text/numbers.h"

#include <gtest/gtest.h>

namespace {

TEST(LeadingInt, ReadsTheNumberAtTheStartLikeTheCRuntime) {
    struct Case {
        const char* value;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"7", 7},
        {"  7  ", 7},
        {"-5", -5},
        {"+3", 3},
        {"5-", 5},
        {"-", 0},
        {"--5", 0},
        {"", 0},
        {"abc", 0},
        {"12,13", 12},
        {"1.5", 1},
        {"\t42", 42},
        {"\r\n\v\f 8", 8},
        {"- 5", 0},
        {"2147483647", 2147483647},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483648},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::leadingInt(c.value), c.expected) << c.value;
}

}  // namespace
