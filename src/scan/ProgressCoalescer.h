// Carries progress from worker threads to the GUI thread at most once per interval, the last
// value winning, so a scan of 100,000 files never floods the event loop.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/Dispatch.h"

template <typename Value> class ProgressCoalescer
{
public:
    explicit ProgressCoalescer(std::function<void(const Value &)> deliver, double intervalSeconds = 0.05)
        : m_state(std::make_shared<State>())
        , m_interval(intervalSeconds)
    {
        m_state->deliver = std::move(deliver);
    }
    ~ProgressCoalescer() { cancel(); }
    ProgressCoalescer(const ProgressCoalescer &) = delete;
    ProgressCoalescer &operator=(const ProgressCoalescer &) = delete;

    // Any thread. Replaces the value waiting for delivery; schedules one delivery if none is due.
    void post(Value value)
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->pending = std::move(value);
        if (m_state->scheduled)
            return;
        m_state->scheduled = true;
        std::weak_ptr<State> weak = m_state;
        Dispatch::mainAfter(m_interval, [weak]() { deliverPending(weak); });
    }
    // Any thread. Delivers the value waiting now, ahead of anything posted to the GUI thread
    // later, so the last report of a stage is never replaced by the next stage's first.
    void flush()
    {
        std::optional<Value> value;
        {
            std::lock_guard<std::mutex> lock(m_state->mutex);
            value.swap(m_state->pending);
        }
        if (!value)
            return;
        std::weak_ptr<State> weak = m_state;
        Dispatch::main([weak, value = std::move(*value)]() {
            const std::shared_ptr<State> state = weak.lock();
            std::function<void(const Value &)> deliver;
            if (state) {
                std::lock_guard<std::mutex> lock(state->mutex);
                deliver = state->deliver;
            }
            if (deliver)
                deliver(value);
        });
    }
    // Drops the waiting value; nothing is delivered after this returns on the GUI thread.
    void cancel()
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->pending.reset();
        m_state->deliver = nullptr;
    }

private:
    struct State {
        std::mutex mutex;
        std::optional<Value> pending;
        bool scheduled = false;
        std::function<void(const Value &)> deliver;
    };

    static void deliverPending(const std::weak_ptr<State> &weak)
    {
        const std::shared_ptr<State> state = weak.lock();
        if (!state)
            return;
        std::optional<Value> value;
        std::function<void(const Value &)> deliver;
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            state->scheduled = false;
            value.swap(state->pending);
            deliver = state->deliver;
        }
        if (value && deliver)
            deliver(*value);
    }

    std::shared_ptr<State> m_state;
    double m_interval;
};
