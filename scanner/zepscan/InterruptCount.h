// Counting interrupts, so that a second Ctrl-C can mean more than the first.
#pragma once

namespace zepscan {

// CountInterrupts: from now on SIGINT no longer ends the process but adds
// one to the count, and SIGTERM adds two (it asks for an end now).
void CountInterrupts();

// Interrupts: the count since CountInterrupts.
int Interrupts();

}  // namespace zepscan
