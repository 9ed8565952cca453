// The retry rule for opening a registry key, driven with scripted error codes.
#include "open_retry.h"

#include <gtest/gtest.h>

#include <vector>

using appletgate::Open_With_Retry;

namespace {

struct RetryCase {
    const char *name;
    std::vector<long> answers;  // what each attempt returns, in order
    std::vector<unsigned> waits; // the waits expected, one per attempt made
    long result;
};

class OpenRetryTest : public ::testing::TestWithParam<RetryCase> {};

TEST_P(OpenRetryTest, AttemptsAndWaits)
{
    const RetryCase &c = GetParam();
    std::size_t attempts = 0;
    std::vector<unsigned> waits;
    const long result = Open_With_Retry(
        [&] {
            // An attempt beyond the script is a fault of the rule, not of the script.
            EXPECT_LT(attempts, c.answers.size());
            const long answer = attempts < c.answers.size() ? c.answers[attempts] : 0;
            ++attempts;
            return answer;
        },
        [&](unsigned ms) { waits.push_back(ms); });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(waits, c.waits);
    EXPECT_EQ(attempts, c.waits.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenRetryTest,
    ::testing::Values(
        RetryCase{"SuccessAtOnceStillWaitsZero", {0}, {0}, 0},
        RetryCase{"NotFoundIsFinal", {2}, {0}, 2},
        RetryCase{"AccessDeniedIsFinal", {5}, {0}, 5},
        RetryCase{"InvalidHandleRetried", {6, 0}, {0, 10}, 0},
        RetryCase{"ShortBufferRetried", {122, 0}, {0, 10}, 0},
        RetryCase{"MixedTransientsThenSuccess", {6, 122, 6, 122, 0}, {0, 10, 20, 30, 40}, 0},
        RetryCase{"TransientThenFinalError", {6, 122, 2}, {0, 10, 20}, 2},
        RetryCase{"FiveAttemptsAtMost", {6, 6, 6, 6, 6}, {0, 10, 20, 30, 40}, 6},
        RetryCase{"LastAttemptsCodeReturned", {6, 6, 6, 6, 122}, {0, 10, 20, 30, 40}, 122}),
    [](const ::testing::TestParamInfo<RetryCase> &info) { return std::string(info.param.name); });

} // namespace
