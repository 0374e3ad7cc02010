// FilePath's questions to a Windows file system, through the wide calls so
// that a path in any letters works. What stands at a path is told in the
// same words as on Linux: a device name (CON, NUL.txt, com1) is a device
// wherever it stands, a symbolic link or a junction is a link and is
// followed, and writes go to a new file beside the path that then replaces
// it in one step. The text operations are the same everywhere
// (platform/FilePath.cpp).
#include "platform/FilePath.h"

#include "platform/FileProblem.h"
#include "platform/StorageSync.h"
#include "platform/windows/WideText.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cctype>

namespace {

std::wstring wide(const std::string& path)
{
    return WideText::fromUtf8(path);
}

std::string systemError(const std::string& what, DWORD error)
{
    return FileProblem::because(what, WideText::systemMessage(error));
}

bool isMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The names Windows keeps for devices in every folder, with or without an
// extension ("NUL.txt" is NUL too), and paths into the device namespace.
bool namesDevice(const std::string& path)
{
    if (path.compare(0, 4, "\\\\.\\") == 0 || path.compare(0, 4, "//./") == 0)
        return true;
    const std::size_t slash = path.find_last_of("\\/");
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    name = name.substr(0, name.find_first_of(".:"));
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL" || name == "CONIN$" ||
        name == "CONOUT$")
        return true;
    return name.size() == 4 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "LPT") == 0) &&
           std::isdigit(static_cast<unsigned char>(name[3]));
}

bool lookAt(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    return GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data) != 0;
}

// What the path leads to, links followed: a handle that reads nothing, so
// that a file another program holds open can still be asked.
bool lookThrough(const std::string& path, BY_HANDLE_FILE_INFORMATION& info, DWORD& error)
{
    const HANDLE handle = CreateFileW(wide(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    error = known ? 0 : GetLastError();
    CloseHandle(handle);
    return known;
}

std::uintmax_t sizeOf(DWORD high, DWORD low)
{
    return (static_cast<std::uintmax_t>(high) << 32) | low;
}

// The problem of what a path leads to, its attributes and size known.
std::string attributesProblem(DWORD attributes, std::uintmax_t size, std::uintmax_t maxBytes,
                              bool throughLink)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileProblem::notAFile("a folder", throughLink);
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return FileProblem::notAFile("a device", throughLink);
    if (size > maxBytes)
        return FileProblem::tooLarge(size, maxBytes);
    return std::string();
}

// What an opened handle is, for a device or a pipe put in the file's place
// between the look and the open.
std::string handleProblem(HANDLE handle, std::uintmax_t maxBytes)
{
    const DWORD type = GetFileType(handle);
    if (type == FILE_TYPE_CHAR)
        return FileProblem::notAFile("a device", false);
    if (type == FILE_TYPE_PIPE)
        return FileProblem::notAFile("a pipe", false);
    BY_HANDLE_FILE_INFORMATION info;
    if (type != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info))
        return FileProblem::notAFile("something else", false);
    return attributesProblem(info.dwFileAttributes, sizeOf(info.nFileSizeHigh, info.nFileSizeLow),
                             maxBytes, false);
}

bool writeAll(HANDLE handle, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

bool FilePath::isAbsent() const
{
    if (path.empty())
        return true;
    if (namesDevice(path))
        return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    return !lookAt(path, data) && isMissing(GetLastError());
}

std::string FilePath::readProblem(std::uintmax_t maxBytes) const
{
    if (path.empty())
        return "does not exist";
    if (namesDevice(path))
        return FileProblem::notAFile("a device", false);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!lookAt(path, data)) {
        const DWORD error = GetLastError();
        return isMissing(error) ? "does not exist" : systemError("cannot be looked at", error);
    }
    // A symbolic link or a junction, or another reparse point that stands for
    // a file kept elsewhere: each is followed, as a link is on Linux.
    const bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    std::string problem;
    if (link) {
        BY_HANDLE_FILE_INFORMATION info;
        DWORD error = 0;
        if (!lookThrough(path, info, error)) {
            if (isMissing(error))
                return "is a link to nothing";
            if (error == ERROR_CANT_RESOLVE_FILENAME)
                return "is a link that leads round in a circle";
            return systemError("is a link that cannot be followed", error);
        }
        problem = attributesProblem(info.dwFileAttributes, sizeOf(info.nFileSizeHigh, info.nFileSizeLow),
                                    maxBytes, true);
    } else {
        problem = attributesProblem(data.dwFileAttributes, sizeOf(data.nFileSizeHigh, data.nFileSizeLow),
                                    maxBytes, false);
    }
    if (!problem.empty())
        return problem;
    const HANDLE handle = CreateFileW(wide(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return systemError("cannot be read", GetLastError());
    CloseHandle(handle);
    return std::string();
}

std::FILE* FilePath::openForReading(std::uintmax_t maxBytes, std::string& problem) const
{
    problem = readProblem(maxBytes);
    if (!problem.empty())
        return nullptr;
    const HANDLE handle = CreateFileW(wide(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        problem = systemError("cannot be opened", GetLastError());
        return nullptr;
    }
    problem = handleProblem(handle, maxBytes);
    // The descriptor takes the handle over, and the stream the descriptor.
    const int fd = problem.empty() ? _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY)
                                   : -1;
    std::FILE* file = fd >= 0 ? _fdopen(fd, "rb") : nullptr;
    if (!file) {
        if (problem.empty())
            problem = FileProblem::because("cannot be opened", "the C library refused the handle");
        if (fd >= 0)
            _close(fd);
        else
            CloseHandle(handle);
    }
    return file;
}

std::string FilePath::writeWhole(const std::string& bytes) const
{
    if (path.empty())
        return "is no path";
    if (namesDevice(path))
        return FileProblem::notAFile("a device", false);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (lookAt(path, data)) {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return FileProblem::notAFile("a link", false);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return FileProblem::notAFile("a folder", false);
    }
    const std::wstring fresh = wide(freshSibling(GetCurrentProcessId()));
    const HANDLE handle = CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return systemError("cannot be written", GetLastError());
    bool written = writeAll(handle, bytes) && FlushFileBuffers(handle);
    DWORD error = written ? 0 : GetLastError();
    CloseHandle(handle);
    // One step, and on the disk before it returns: the path holds the old
    // file or the whole new one.
    if (written && !MoveFileExW(fresh.c_str(), wide(path).c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        written = false;
        error = GetLastError();
    }
    if (!written) {
        DeleteFileW(fresh.c_str());
        return systemError("cannot be written", error);
    }
    StorageSync::afterWrite(*this);
    return std::string();
}

std::string FilePath::moveTo(const FilePath& destination) const
{
    if (path.empty() || destination.path.empty())
        return "is no path";
    // Without MOVEFILE_REPLACE_EXISTING nothing standing there is replaced.
    if (!MoveFileExW(wide(path).c_str(), wide(destination.path).c_str(), MOVEFILE_WRITE_THROUGH))
        return systemError("cannot be moved to " + destination.path, GetLastError());
    StorageSync::afterWrite(destination);
    return std::string();
}

bool FilePath::exists() const
{
    BY_HANDLE_FILE_INFORMATION info;
    DWORD error = 0;
    return !path.empty() && !namesDevice(path) && lookThrough(path, info, error);
}

bool FilePath::isFile() const
{
    BY_HANDLE_FILE_INFORMATION info;
    DWORD error = 0;
    return !path.empty() && !namesDevice(path) && lookThrough(path, info, error) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FilePath::isDirectory() const
{
    return exists() && !isFile();
}

bool FilePath::createAsDirectory() const
{
    return !path.empty() && CreateDirectoryW(wide(path).c_str(), nullptr) != 0;
}

std::string FilePath::createWithParents() const
{
    if (path.empty())
        return "is no path";
    // Up to the first step that stands, then down again making each.
    std::vector<FilePath> missing;
    for (FilePath step = *this;; step = step.getParent()) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (lookAt(step.path, data)) {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                return WideText::systemMessage(ERROR_DIRECTORY);
            break;
        }
        const DWORD error = GetLastError();
        if (!isMissing(error))
            return WideText::systemMessage(error);
        missing.push_back(step);
        const std::string parent = step.getParent().path;
        if (parent.empty() || parent == step.path)
            break; // past the drive, or a relative path with no separator left
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (it->createAsDirectory())
            continue;
        const DWORD error = GetLastError();
        if (!it->isDirectory())
            return WideText::systemMessage(error);
    }
    return std::string();
}

std::vector<std::string> FilePath::sortedEntries() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(wide(path + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = WideText::toUtf8(entry.cFileName);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    // std::string compares by unsigned byte value, as the order must be.
    std::sort(names.begin(), names.end());
    return names;
}

bool FilePath::copyTo(const std::string& destination)
{
    return !path.empty() && CopyFileW(wide(path).c_str(), wide(destination).c_str(), FALSE) != 0;
}
