// The chime's play and stop rule, whatever plays it: a stop keeps the place, the next play goes
// on from there, and a chime that ran to its end starts over.
#pragma once

namespace ChimePlayback {

// Where the sound output stands.
enum class Output
{
    Stopped,   // never started, or closed
    Active,    // handing sound over
    Suspended, // paused by a stop, keeping its place
    Idle,      // everything handed over; the server may still be playing the last moment
};

enum class Action
{
    None,
    Resume,    // continue from the place kept
    Start,     // start from the current place
    StartOver, // rewind to the beginning, then start
    Suspend,   // pause, keeping the place
    Close,     // stop for good: the next play starts over
};

// What the reminder's play does.
Action play(Output output, bool atEnd);
// What the reminder's hide does. Only the last moment still queued counts as played to the end,
// so the next play starts over instead of resuming a fraction of a second.
Action stop(Output output, bool atEnd);

} // namespace ChimePlayback
