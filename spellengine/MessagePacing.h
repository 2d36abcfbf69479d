// Queued messages during a long check: they run at once when something waits in the queue, and
// otherwise at most every few milliseconds of work (for the paints and timers made on demand),
// so that the windows answer at once while the walk does not pay for looking. Implementation in
// MessagePacing.cpp.
#pragma once

namespace spellengine {

// Called for every character or word walked; looks at the queue only now and then.
void PaceMessages();
// Lets the queued messages run now, and counts the interval from here.
void RunMessagesNow();

} // namespace spellengine
