/* The smallest program that runs: no C runtime, just an entry point. */
int Entry(void) { return 0; }
