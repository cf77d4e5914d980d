#include "loginguard.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr int kFailuresPerStep = 5;
constexpr qint64 kFirstWaitMs = 30 * 1000;
constexpr qint64 kLongestWaitMs = 15 * 60 * 1000;

LoginGuard::Clock& testClock() {
    static LoginGuard::Clock c; // empty: the steady clock
    return c;
}

qint64 now() {
    if (testClock()) return testClock()();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

void LoginGuard::setClock(Clock c) { testClock() = std::move(c); }

int LoginGuard::secondsLeft() const {
    const qint64 left = m_until - now();
    return left > 0 ? int((left + 999) / 1000) : 0;
}

void LoginGuard::failed() {
    ++m_failures;
    if (m_failures % kFailuresPerStep != 0) return;
    const int step = std::min(m_failures / kFailuresPerStep - 1, 10);
    m_until = now() + std::min(kFirstWaitMs << step, kLongestWaitMs);
}

void LoginGuard::succeeded() {
    m_failures = 0;
    m_until = 0;
}
