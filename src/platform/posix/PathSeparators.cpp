#include "platform/PathSeparators.h"

// A backslash is a character like any other in a POSIX file name.
const char* PathSeparators::all()
{
    return "/";
}

char PathSeparators::preferred()
{
    return '/';
}
