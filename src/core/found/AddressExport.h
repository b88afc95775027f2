#pragma once

#include "core/common/ConsoleSink.h"
#include "core/found/FoundAddress.h"
#include "core/found/FoundAddressStore.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace tarwick {

inline constexpr std::string_view kAllAddressesFileName =
    "Data//Tarwick_Bitcoin_addresses_found.txt";

// "Pattern: p\r\nBitcoin Public address: a\r\nBitcoin Private key: k": the clipboard text of
// one address, without a line break after the last line.
std::string addressText(const FoundAddress& address);
// The same three lines, each ended by CR LF: the content of the single-address file.
std::string addressFileText(const FoundAddress& address);
// The heading "Pattern,Bitcoin Public address,Bitcoin Private key" and one line per record in
// store order, every line ended by CR LF, fields unquoted.
std::string allAddressesFileText(const FoundAddressStore& store);
// "Data//Tarwick_%s.txt" filled with the public address. The doubled separator is harmless on
// POSIX too, so the name is kept as the user sees it in the console.
std::string addressFileName(std::string_view publicAddress);

enum class ExportStatus {
    Saved,
    NotSaved,      // no Data folder (the program never creates it): silent, as before
    Failed,        // the file could not be written; told in red, the older file is kept
    UnsafeAddress, // the address holds a path separator or a control character: nothing written
};

// Writes the single-address file in workingFolder and, when it was saved, the teal note.
ExportStatus ExportAddress(const FoundAddress& address, const std::filesystem::path& workingFolder,
                           ConsoleSink& console);
// Writes every record (no 512 limit) to the all-addresses file; nothing when the store is empty.
ExportStatus ExportAllAddresses(const FoundAddressStore& store,
                                const std::filesystem::path& workingFolder, ConsoleSink& console);

} // namespace tarwick
