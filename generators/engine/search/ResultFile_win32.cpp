#include "engine/search/ResultFile.h"

#include <windows.h>

namespace tarwick::engine {

namespace {

HANDLE asHandle(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

std::string lastErrorText() {
    return "Windows error " + std::to_string(GetLastError());
}

} // namespace

ResultFile::~ResultFile() {
    if (isOpen()) {
        CloseHandle(asHandle(handle_));
    }
}

bool ResultFile::open(const std::string& path, std::string& error) {
    // Append-only access: every WriteFile lands at the end, even with other writers.
    const HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = lastErrorText();
        return false;
    }
    if (isOpen()) {
        CloseHandle(asHandle(handle_));
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    return true;
}

bool ResultFile::append(const std::string& record, std::string& error) {
    if (!isOpen()) {
        error = "the file is not open";
        return false;
    }
    DWORD wrote = 0;
    if (!WriteFile(asHandle(handle_), record.data(), static_cast<DWORD>(record.size()), &wrote,
                   nullptr) ||
        wrote != record.size()) {
        error = lastErrorText();
        return false;
    }
    if (!FlushFileBuffers(asHandle(handle_))) {
        error = lastErrorText();
        return false;
    }
    return true;
}

} // namespace tarwick::engine
