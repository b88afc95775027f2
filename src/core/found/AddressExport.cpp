#include "core/found/AddressExport.h"

#include "core/found/PrivateFile.h"

namespace tarwick {
namespace {

constexpr std::string_view kCrLf = "\r\n";

void appendLine(std::string& out, std::string_view label, std::string_view value) {
    out.append(label).append(": ").append(value);
}

// The address becomes part of a file name: refuse anything that could leave the Data folder
// or that no file system accepts.
bool safeInFileName(std::string_view publicAddress) {
    for (const char c : publicAddress) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\' || c == ':') {
            return false;
        }
    }
    return true;
}

// "Data//x" relative to the working folder, with the separators the platform understands.
std::filesystem::path inFolder(const std::filesystem::path& workingFolder, std::string_view name) {
    return workingFolder / std::filesystem::path(std::string(name)).lexically_normal();
}

ExportStatus writeExport(const std::filesystem::path& file, std::string_view bytes) {
    const PrivateFileResult result = writePrivateFile(file, bytes);
    if (result.ok()) {
        return ExportStatus::Saved;
    }
    return result.status == PrivateFileStatus::FolderMissing ? ExportStatus::NotSaved
                                                             : ExportStatus::Failed;
}

} // namespace

std::string addressText(const FoundAddress& address) {
    std::string text;
    appendLine(text, "Pattern", address.pattern);
    text.append(kCrLf);
    appendLine(text, "Bitcoin Public address", address.publicAddress);
    text.append(kCrLf);
    appendLine(text, "Bitcoin Private key", address.privateKey);
    return text;
}

std::string addressFileText(const FoundAddress& address) {
    return addressText(address).append(kCrLf);
}

std::string allAddressesFileText(const FoundAddressStore& store) {
    std::string text = "Pattern,Bitcoin Public address,Bitcoin Private key\r\n";
    for (const FoundAddress& record : store.records()) {
        text.append(record.pattern).append(",").append(record.publicAddress).append(",");
        text.append(record.privateKey).append(kCrLf);
    }
    return text;
}

std::string addressFileName(std::string_view publicAddress) {
    return std::string("Data//Tarwick_").append(publicAddress).append(".txt");
}

ExportStatus ExportAddress(const FoundAddress& address, const std::filesystem::path& workingFolder,
                           ConsoleSink& console) {
    const std::string name = addressFileName(address.publicAddress);
    if (!safeInFileName(address.publicAddress)) {
        console.append("[ERROR] The Bitcoin address cannot be used in a file name.",
                       ConsoleStyle::Error, true);
        return ExportStatus::UnsafeAddress;
    }
    const ExportStatus status =
        writeExport(inFolder(workingFolder, name), addressFileText(address));
    if (status == ExportStatus::Saved) {
        console.append("Bitcoin address '" + address.publicAddress + "' saved in\n'" + name +
                           "' file\n",
                       ConsoleStyle::Heading, true);
    } else if (status == ExportStatus::Failed) {
        console.append("[ERROR] Bitcoin address '" + address.publicAddress +
                           "' could not be saved in '" + name + "' file",
                       ConsoleStyle::Error, true);
    }
    return status;
}

ExportStatus ExportAllAddresses(const FoundAddressStore& store,
                                const std::filesystem::path& workingFolder, ConsoleSink& console) {
    if (store.empty()) {
        return ExportStatus::NotSaved;
    }
    const std::string name(kAllAddressesFileName);
    const ExportStatus status =
        writeExport(inFolder(workingFolder, name), allAddressesFileText(store));
    if (status == ExportStatus::Saved) {
        console.append("Bitcoin addresses found saved in '" + name + "' file\n",
                       ConsoleStyle::Heading, true);
    } else if (status == ExportStatus::Failed) {
        console.append("[ERROR] Bitcoin addresses found could not be saved in '" + name + "' file",
                       ConsoleStyle::Error, true);
    }
    return status;
}

} // namespace tarwick
