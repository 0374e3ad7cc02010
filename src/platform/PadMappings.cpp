#include "platform/PadMappings.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <sstream>

namespace {

// SDL's names for a pad's controls; each takes a button, an axis or a hat.
const char* const controls[] = {"a", "b", "x", "y", "back", "guide", "start", "leftstick", "rightstick",
                                "leftshoulder", "rightshoulder", "dpup", "dpdown", "dpleft", "dpright",
                                "misc1", "paddle1", "paddle2", "paddle3", "paddle4", "touchpad", "leftx",
                                "lefty", "rightx", "righty", "lefttrigger", "righttrigger"};
// Fields that say when a line applies rather than where a control is.
const char* const conditions[] = {"platform", "hint", "sdk>=", "sdk<=", "crc"};

bool isNumber(const std::string& text)
{
    return !text.empty() && text.size() <= 3 &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

// b3, a2, -a1, +a4~, h0.4 (a hat's bit: 1, 2, 4 or 8).
bool isSource(std::string value)
{
    if (!value.empty() && (value[0] == '+' || value[0] == '-'))
        value.erase(0, 1);
    if (value.size() < 2)
        return false;
    const char kind = value[0];
    std::string rest = value.substr(1);
    if (kind == 'a' && rest.back() == '~')
        rest.pop_back();
    if (kind == 'a' || kind == 'b')
        return isNumber(rest);
    const std::size_t dot = rest.find('.');
    if (kind != 'h' || dot == std::string::npos)
        return false;
    const std::string bit = rest.substr(dot + 1);
    return isNumber(rest.substr(0, dot)) && (bit == "1" || bit == "2" || bit == "4" || bit == "8");
}

// The number of "b7" or "a1" when value is of that kind, else -1.
int numberOf(const std::string& value, char kind)
{
    return value.size() >= 2 && value[0] == kind && isNumber(value.substr(1)) ? std::stoi(value.substr(1)) : -1;
}

bool sameLetters(const std::string& one, const std::string& other)
{
    return one.size() == other.size() && std::equal(one.begin(), one.end(), other.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

bool PadMappings::parse(const std::string& line, Entry& entry, std::string& problem)
{
    std::vector<std::string> fields;
    std::stringstream words(line);
    for (std::string field; std::getline(words, field, ',');)
        fields.push_back(field);
    const std::string& guid = fields.empty() ? line : fields[0];
    if (guid.size() != 32 || !std::all_of(guid.begin(), guid.end(), [](unsigned char c) { return std::isxdigit(c); })) {
        problem = "does not start with a GUID of 32 hex digits";
        return false;
    }
    if (fields.size() < 3 || fields[1].empty()) {
        problem = "has no name and fields after its GUID";
        return false;
    }
    Entry read;
    read.line = line;
    read.name = fields[1];
    read.layout.standard = true;
    read.layout.start = -1;
    for (std::size_t i = 2; i < fields.size(); ++i) {
        const std::string& field = fields[i];
        const std::size_t colon = field.find(':');
        if (field.empty() && i + 1 == fields.size())
            break;
        const std::string key = field.substr(0, colon), value = colon == std::string::npos ? "" : field.substr(colon + 1);
        // A half of an axis (+leftx) is a control too, though not the stick the game reads.
        const std::string controlName = !key.empty() && (key[0] == '+' || key[0] == '-') ? key.substr(1) : key;
        const bool control =
            std::find(std::begin(controls), std::end(controls), controlName) != std::end(controls);
        const bool condition = std::find(std::begin(conditions), std::end(conditions), key) != std::end(conditions);
        if (colon == std::string::npos || (!control && !condition)) {
            problem = "has \"" + field + "\", which is no field SDL knows";
            return false;
        }
        if (control && !isSource(value)) {
            problem = "has \"" + field + "\", where a button (b0), an axis (a0) or a hat (h0.1) belongs";
            return false;
        }
        if (key == "platform")
            read.platform = value;
        else if (key == "a")
            read.layout.a = numberOf(value, 'b');
        else if (key == "start")
            read.layout.start = numberOf(value, 'b');
        else if (key == "dpup")
            read.layout.up = numberOf(value, 'b');
        else if (key == "dpdown")
            read.layout.down = numberOf(value, 'b');
        else if (key == "dpleft")
            read.layout.left = numberOf(value, 'b');
        else if (key == "dpright")
            read.layout.right = numberOf(value, 'b');
        else if (key == "leftx" && numberOf(value, 'a') >= 0)
            read.layout.stickX = numberOf(value, 'a');
        else if (key == "lefty" && numberOf(value, 'a') >= 0)
            read.layout.stickY = numberOf(value, 'a');
    }
    if (read.platform.empty()) {
        problem = "names no platform (platform:Linux, platform:Windows or platform:Emscripten)";
        return false;
    }
    entry = read;
    return true;
}

std::vector<PadMappings::Entry> PadMappings::read(const FilePath& file, const std::string& platform)
{
    std::vector<Entry> entries;
    if (file.path.empty() || file.isAbsent())
        return entries;
    std::string text, problem;
    if (!file.readWhole(maxBytes, text, problem)) {
        std::cout << "Gamepad: " << file.path << " " << problem << "; it is ignored." << std::endl;
        return entries;
    }
    std::stringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        Entry entry;
        if (!parse(line.substr(first), entry, problem))
            std::cout << "Gamepad: " << file.path << " line " << number << " " << problem
                      << "; it is passed over." << std::endl;
        else if (sameLetters(entry.platform, platform))
            entries.push_back(entry);
    }
    return entries;
}

const PadMappings::Entry* PadMappings::named(const std::vector<Entry>& entries, const std::string& name)
{
    for (const Entry& entry : entries)
        if (sameLetters(entry.name, name))
            return &entry;
    return nullptr;
}
