// A timer of the front-end's event loop: calls its handler every interval until stopped, on a
// precise clock (a coarse one may drift by some per cent).
#pragma once

class Timer
{
public:
    virtual ~Timer() = default;

    // (Re)starts: the first call comes the interval (milliseconds) from now.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    // The interval of the last start.
    virtual int interval() const = 0;
};
