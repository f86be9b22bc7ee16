// When and after how long a failed request is sent again: truncated exponential backoff with
// jitter on rate limits and passing server errors, the server's Retry-After obeyed.
#pragma once

#include <functional>
#include <optional>

#include <QByteArray>
#include <QDateTime>

struct HttpResponse;

class RetryPolicy
{
public:
    // Pauses `ms`, then calls `resume` (on any thread). Tests record the pauses and resume at once.
    using Sleeper = std::function<void(int ms, std::function<void()> resume)>;

    int maxRetries = 5;
    int baseDelayMs = 1000;
    int maxDelayMs = 32000;
    int maxJitterMs = 1000;
    // Empty: a timer on the calling thread's event loop.
    Sleeper sleeper;

    // 429; 403 with reason rateLimitExceeded or userRateLimitExceeded; 500, 502, 503, 504.
    static bool isRetryable(const HttpResponse &response);
    // The pause before retry number `retry` (0 for the first): Retry-After when the answer has
    // one, else min(max, base * 2^retry) plus jitter.
    int delayMs(int retry, const HttpResponse &response) const;
    // Retry-After as seconds or an HTTP date, in ms from `now`; nothing when absent or unreadable.
    static std::optional<int> retryAfterMs(const QByteArray &value, const QDateTime &now);

    void sleep(int ms, std::function<void()> resume) const;
};
