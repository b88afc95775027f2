#include "core/found/PrivateFile.h"

#include <string>
#include <windows.h>

namespace tarwick {
namespace {

std::error_code lastError() {
    return {static_cast<int>(::GetLastError()), std::system_category()};
}

} // namespace

PrivateFileResult writePrivateFile(const std::filesystem::path& target, std::string_view bytes) {
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return {PrivateFileStatus::FolderMissing, error};
    }
    // A new file in the same folder, not shared while it is written; the user's profile folder
    // already keeps it from other accounts.
    const std::filesystem::path temporary = folder / (L"." + target.filename().wstring() + L".new");
    const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {PrivateFileStatus::Failed, lastError()};
    }
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                nullptr) &&
                    written == bytes.size() && ::FlushFileBuffers(file);
    const std::error_code cause = lastError();
    ::CloseHandle(file);
    // MOVEFILE_REPLACE_EXISTING replaces a link at the target itself, never the file it names.
    if (!ok || !::MoveFileExW(temporary.c_str(), target.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const std::error_code failure = ok ? lastError() : cause;
        ::DeleteFileW(temporary.c_str());
        return {PrivateFileStatus::Failed, failure};
    }
    return {PrivateFileStatus::Written, {}};
}

} // namespace tarwick
