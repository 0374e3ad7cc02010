// A system whose programs keep the standard output they were started with:
// nothing to join.
#include "platform/ConsoleOutput.h"

void ConsoleOutput::attach() {}
