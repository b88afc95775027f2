#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <utility>

namespace tarwick::engine {

// When a search's next status line is due (a second after the last, or a second from now when
// it runs late) and its key rate, taken over the last five seconds so that it follows changes.
class StatusSchedule {
public:
    using Clock = std::chrono::steady_clock;

    explicit StatusSchedule(Clock::time_point start)
        : samples_{{start, 0}}, due_(start + kPeriod) {}

    Clock::time_point due() const { return due_; }

    // Keys per second up to `now`, when `total` keys have been checked; the next status is due
    // from then on.
    double rateAt(Clock::time_point now, std::uint64_t total) {
        samples_.emplace_back(now, total);
        if (samples_.size() > 6) {
            samples_.pop_front();
        }
        due_ += kPeriod;
        if (due_ < now) {
            due_ = now + kPeriod;
        }
        const auto [since, keysThen] = samples_.front();
        const double seconds = std::chrono::duration<double>(now - since).count();
        return seconds > 0 ? static_cast<double>(total - keysThen) / seconds : 0;
    }

private:
    static constexpr std::chrono::seconds kPeriod{1};
    std::deque<std::pair<Clock::time_point, std::uint64_t>> samples_;
    Clock::time_point due_;
};

} // namespace tarwick::engine
