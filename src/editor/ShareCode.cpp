#include "editor/ShareCode.h"

#include <array>
#include <cstdint>
#include <iostream>
#include <vector>

#include "FatalError.h"

// A code is URL-safe Base64, without padding, of:
//   byte 0      the format, 1
//   bytes 1-3   the text's length, least significant byte first
//   bytes 4-7   the CRC-32 of the text, least significant byte first
//   then        the text, packed
// Packed, the text is groups of up to eight items, each group led by a byte
// whose bits (lowest first) tell a copy (1) from a literal byte (0). A copy
// is two bytes: the distance back less one in the upper twelve bits, and in
// the lower four the length less three, where 15 means 18 plus the bytes
// that follow, each added, up to one below 255. A levels text repeats
// itself block after block, which is all this needs to find.

namespace {

constexpr int format = 1;
constexpr int headerBytes = 8;
constexpr int window = 4096;
constexpr int minCopy = 3;
constexpr int shortestLong = 18;  // the length code 15 stands for this and more
constexpr int maxCopy = 4096;
constexpr int chainSteps = 512;   // candidates looked at for each position

const char* const alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::uint32_t crc32(const std::string& bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xffffffffu;
    for (const char byte : bytes)
        c = table[(c ^ static_cast<unsigned char>(byte)) & 0xffu] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

void putLittle(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xffu);
}

std::uint32_t getLittle(const std::string& in, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return value;
}

// Greedy: at each position the longest earlier copy within the window,
// found through chains of the positions where each three bytes began.
std::string compress(const std::string& text)
{
    std::string out;
    const int n = static_cast<int>(text.size());
    std::vector<int> head(1 << 14, -1), previous(static_cast<std::size_t>(n), -1);
    const auto hashAt = [&](int i) {
        const auto b = [&](int k) { return static_cast<unsigned>(static_cast<unsigned char>(text[i + k])); };
        return ((b(0) << 6) ^ (b(1) << 3) ^ b(2) ^ (b(0) >> 2) * 2654435761u) & ((1u << 14) - 1);
    };
    const auto remember = [&](int i) {
        if (i + minCopy <= n) {
            const unsigned h = hashAt(i);
            previous[i] = head[h];
            head[h] = i;
        }
    };
    std::size_t flagsAt = 0;
    int items = 8;
    for (int i = 0; i < n;) {
        if (items == 8) {
            flagsAt = out.size();
            out += '\0';
            items = 0;
        }
        int bestLength = 0, bestFrom = 0;
        if (i + minCopy <= n) {
            int steps = 0;
            for (int from = head[hashAt(i)]; from >= 0 && i - from <= window && steps < chainSteps;
                 from = previous[from], ++steps) {
                int length = 0;
                while (i + length < n && length < maxCopy && text[from + length] == text[i + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestFrom = from;
                }
            }
        }
        if (bestLength >= minCopy) {
            out[flagsAt] = static_cast<char>(out[flagsAt] | (1 << items));
            const int distance = i - bestFrom - 1;
            const int code = bestLength >= shortestLong ? 15 : bestLength - minCopy;
            out += static_cast<char>(distance >> 4);
            out += static_cast<char>(((distance & 15) << 4) | code);
            for (int rest = bestLength - shortestLong; code == 15; rest -= 255) {
                out += static_cast<char>(rest < 255 ? rest : 255);
                if (rest < 255)
                    break;
            }
            for (int k = 0; k < bestLength; ++k)
                remember(i + k);
            i += bestLength;
        } else {
            out += text[i];
            remember(i);
            ++i;
        }
        ++items;
    }
    return out;
}

// False when the packed bytes do not unpack to exactly length bytes; never
// writes past length, whatever the bytes claim.
bool decompress(const std::string& packed, std::size_t at, std::size_t length, std::string& text)
{
    text.clear();
    text.reserve(length);
    while (at < packed.size()) {
        const unsigned flags = static_cast<unsigned char>(packed[at++]);
        for (int item = 0; item < 8 && at < packed.size(); ++item) {
            if (!(flags & (1u << item))) {
                if (text.size() == length)
                    return false;
                text += packed[at++];
                continue;
            }
            if (at + 2 > packed.size())
                return false;
            const unsigned high = static_cast<unsigned char>(packed[at]);
            const unsigned low = static_cast<unsigned char>(packed[at + 1]);
            at += 2;
            const std::size_t distance = ((high << 4) | (low >> 4)) + 1;
            std::size_t copy = (low & 15u) + minCopy;
            if ((low & 15u) == 15u) {
                copy = shortestLong;
                for (;;) {
                    if (at >= packed.size())
                        return false;
                    const unsigned more = static_cast<unsigned char>(packed[at++]);
                    copy += more;
                    if (more < 255 || copy > length)
                        break;
                }
            }
            if (distance > text.size() || copy > length - text.size())
                return false;
            for (std::size_t k = 0; k < copy; ++k)
                text += text[text.size() - distance];
        }
    }
    return text.size() == length;
}

std::string toBase64(const std::string& bytes)
{
    std::string out;
    std::uint32_t bits = 0;
    int count = 0;
    for (const char byte : bytes) {
        bits = (bits << 8) | static_cast<unsigned char>(byte);
        count += 8;
        while (count >= 6) {
            count -= 6;
            out += alphabet[(bits >> count) & 63u];
        }
    }
    if (count > 0)
        out += alphabet[(bits << (6 - count)) & 63u];
    return out;
}

bool fromBase64(const std::string& text, std::string& bytes)
{
    bytes.clear();
    std::uint32_t bits = 0;
    int count = 0;
    for (const char c : text) {
        int value = -1;
        if (c >= 'A' && c <= 'Z')
            value = c - 'A';
        else if (c >= 'a' && c <= 'z')
            value = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            value = c - '0' + 52;
        else if (c == '-')
            value = 62;
        else if (c == '_')
            value = 63;
        if (value < 0)
            return false;
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes += static_cast<char>((bits >> count) & 0xffu);
        }
    }
    // What is left over must be the zero bits that filled the last letter.
    return count < 6 && (bits & ((1u << count) - 1)) == 0;
}

}  // namespace

std::string ShareCode::pack(const std::string& text)
{
    std::string bytes;
    bytes += static_cast<char>(format);
    putLittle(bytes, static_cast<std::uint32_t>(text.size()), 3);
    putLittle(bytes, crc32(text), 4);
    return toBase64(bytes + compress(text));
}

bool ShareCode::unpack(const std::string& code, std::string& text, std::string& problem)
{
    std::string bytes;
    text.clear();
    if (code.empty()) {
        problem = "is empty";
        return false;
    }
    // The longest code a text within the bound could make.
    if (code.size() > (maxTextBytes * 9 / 8 + headerBytes + 8) * 4 / 3) {
        problem = "is " + std::to_string(code.size()) + " letters long, too long for a plane";
        return false;
    }
    if (!fromBase64(code, bytes) || bytes.size() < headerBytes) {
        problem = "is damaged (it is not made of the letters a code is made of)";
        return false;
    }
    if (static_cast<unsigned char>(bytes[0]) != format) {
        problem = "is not a plane's code (or one of a later version)";
        return false;
    }
    const std::size_t length = getLittle(bytes, 1, 3);
    if (length > maxTextBytes) {
        problem = "claims " + std::to_string(length) + " bytes, more than the " +
                  std::to_string(maxTextBytes) + " a plane may hold";
        return false;
    }
    if (!decompress(bytes, headerBytes, length, text) || crc32(text) != getLittle(bytes, 4, 4)) {
        text.clear();
        problem = "is damaged (its checksum does not match)";
        return false;
    }
    return true;
}

std::string ShareCode::encode(const Plane& plane, const std::string& note)
{
    return pack(PlaneList::of(plane, note).write());
}

PlaneList ShareCode::decode(const std::string& code)
{
    std::string text, problem;
    if (unpack(code, text, problem)) {
        try {
            PlaneList list = PlaneList::read("shared plane", text);
            if (list.size() == 1)
                return list;
            problem = "holds " + std::to_string(list.size()) + " planes, not one";
        } catch (const FatalError& error) {
            problem = "holds a text that " + error.message;
        }
    }
    std::cout << "ShareCode: The code of " << code.size() << " letters " << problem
              << "; nothing was taken in." << std::endl;
    return PlaneList();
}
