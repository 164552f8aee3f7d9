// The reminder's chime, whatever plays it.
#pragma once

class Chime
{
public:
    virtual ~Chime() = default;

    // Continues where the last stop left off; starts over only when the last playback ran to
    // the end. Silent when the machine has no audio output.
    virtual void play() = 0;
    // Pauses, keeping the position.
    virtual void stop() = 0;
};
