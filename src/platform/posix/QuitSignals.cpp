#include "platform/QuitSignals.h"

// SDL's video part turns SIGINT and SIGTERM into its quit event itself, as
// long as nobody else has claimed them: installing handlers here would only
// keep SDL from installing its own.
void QuitSignals::install() {}
