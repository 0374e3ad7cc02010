#pragma once

#include <string>

// The process's environment variables, read and written here alone, so that
// what the game takes from its surroundings can be found in one place.
// Values are text as the system holds it; nothing here fails loudly: a
// variable that cannot be set is left as it was.
class Environment {
public:
    Environment() = delete;

    // The value, or empty when the variable is unset (or set to nothing).
    static std::string get(const std::string& name);
    // Set at all, even to nothing.
    static bool isSet(const std::string& name);
    // Set to something other than empty or "0": how the game's switches
    // (BV_PLAIN_DRAWING=1) are turned on.
    static bool isOn(const std::string& name);
    // Sets the variable unless it is set already, so that a player's own
    // choice wins over the game's.
    static void setDefault(const std::string& name, const std::string& value);
    // Sets the variable, whatever it was.
    static void set(const std::string& name, const std::string& value);
};
