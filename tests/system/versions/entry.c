/* The smallest program body for the version test inputs: they are read, never run. */
int entry(void) { return 0; }
