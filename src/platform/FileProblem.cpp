#include "platform/FileProblem.h"

std::string FileProblem::notAFile(const std::string& kind, bool throughLink)
{
    return throughLink ? "is a link to " + kind + ", not to a file" : "is " + kind + ", not a file";
}

std::string FileProblem::tooLarge(std::uintmax_t size, std::uintmax_t maxBytes)
{
    return "is " + std::to_string(size) + " bytes, more than the " + std::to_string(maxBytes) +
           " it may hold";
}

std::string FileProblem::because(const std::string& what, const std::string& reason)
{
    return what + ": " + reason;
}
