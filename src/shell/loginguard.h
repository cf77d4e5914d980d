#pragma once

#include <QtGlobal>
#include <functional>

// Slows down guessing at the login: after 5 failed attempts in a row, no attempt for 30 s; each
// further 5 failures double the wait, up to 15 minutes. Kept in memory only.
class LoginGuard {
public:
    // Milliseconds on a clock that only goes forward; tests put in their own.
    using Clock = std::function<qint64()>;
    static void setClock(Clock clock); // empty: the system's steady clock

    // Seconds until attempts are taken again, rounded up; 0 when they are taken now.
    int secondsLeft() const;
    void failed();
    void succeeded();

private:
    int m_failures = 0;
    qint64 m_until = 0;
};
