#pragma once

// Waits at least the given number of milliseconds while dispatching events,
// so that the user interface and child-process notifications stay alive.
// Any handler may run inside the wait.
void Delay(int milliseconds);
