#include "core/files/RunFolder.h"

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace tarwick {
namespace {

std::string utcStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_s(&utc, &now);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%SZ", &utc);
    return text;
}

} // namespace

// The per-user profile folder's access list is the protection here; nothing to refuse.
std::optional<std::string> unsafeFolderReason(const std::filesystem::path&) {
    return std::nullopt;
}

OwnedFile::~OwnedFile() {
    if (valid())
        ::_close(descriptor_);
}

int OwnedFile::release() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    return descriptor;
}

// No folder handle to work relative to: names are kept as paths under the folder.
RunFolder::RunFolder(const std::filesystem::path& folder) : descriptor_(0), folder_(folder) {}

RunFolder::~RunFolder() = default;

bool RunFolder::remove(std::string_view name) {
    std::error_code error;
    std::filesystem::remove(folder_ / name, error);
    return !error;
}

OwnedFile RunFolder::createPrivate(std::string_view name, std::string& why) {
    const std::filesystem::path path = folder_ / name;
    OwnedFile file(::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                            _S_IREAD | _S_IWRITE));
    if (!file.valid())
        why = "it could not be created";
    return file;
}

std::optional<std::string> RunFolder::keep(std::string_view name, std::string_view stem,
                                           std::string_view extension) {
    const std::string base = std::string(stem) + "-" + utcStamp();
    for (int copy = 1; copy < 100; ++copy) {
        const std::string kept =
            base + (copy > 1 ? "-" + std::to_string(copy) : "") + std::string(extension);
        std::error_code error;
        if (std::filesystem::exists(folder_ / kept, error))
            continue;
        std::filesystem::rename(folder_ / name, folder_ / kept, error);
        return error ? std::nullopt : std::optional<std::string>(kept);
    }
    return std::nullopt;
}

} // namespace tarwick
