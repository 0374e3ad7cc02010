#include "platform/PathSeparators.h"

// Windows takes both; its own folders and messages use the backslash.
const char* PathSeparators::all()
{
    return "\\/";
}

char PathSeparators::preferred()
{
    return '\\';
}
