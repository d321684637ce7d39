#pragma once

// Starts libcurl for the whole program the first time it is called (its
// global set-up is not safe to repeat or to run on two threads at once).
// Throws TarnwellError when it cannot be started.
void InitialiseNetworkLibrary();
