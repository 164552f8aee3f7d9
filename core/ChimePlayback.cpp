// The chime's play and stop rule.
#include "core/ChimePlayback.h"

namespace ChimePlayback {

Action play(Output output, bool atEnd)
{
    if (output == Output::Suspended)
        return Action::Resume;
    return atEnd ? Action::StartOver : Action::Start;
}

Action stop(Output output, bool atEnd)
{
    if (output != Output::Active)
        return Action::None;
    return atEnd ? Action::Close : Action::Suspend;
}

} // namespace ChimePlayback
