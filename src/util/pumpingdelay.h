#pragma once

#include <QtGlobal>

namespace vaha {

// Milliseconds since system start, 32 bits, wrapping like the Windows tick counter.
quint32 tickCount();

// Waits `milliseconds` while window events keep running: a click or key press during the wait
// runs its handler before the delay returns, so callers must expect re-entry. Events are
// processed at least once, also for a wait of 0 or less. The thread sleeps while idle.
void PumpingDelay(int milliseconds);

} // namespace vaha
