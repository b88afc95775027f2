#include "core/found/VerifyFoundKey.h"

#include "core/keys/BitcoinKey.h"

#include <algorithm>
#include <cctype>

namespace tarwick {
namespace {

bool sameText(std::string_view a, std::string_view b, bool anyCase) {
    const auto fold = [anyCase](char c) {
        return anyCase ? std::tolower(static_cast<unsigned char>(c)) : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return fold(x) == fold(y); });
}

std::string wifFailure(WifError error) {
    switch (error) {
    case WifError::BadChecksum:
        return "the private key's checksum is wrong";
    case WifError::OutOfRange:
        return "the private key is out of range";
    case WifError::NotWif:
        break;
    }
    return "the private key is not a WIF key";
}

} // namespace

std::optional<std::string> whyFoundKeyFails(const FoundKeyRecord& record,
                                            const SearchedPatterns* searched) {
    const auto decoded = decodeWif(record.privateKey);
    if (const WifError* error = std::get_if<WifError>(&decoded)) {
        return wifFailure(*error);
    }
    if (addressOfKey(std::get<WifKey>(decoded)) != record.publicAddress) {
        return "the private key is not the key of this address";
    }
    if (!searched) {
        return "the patterns of the run that wrote it are unknown";
    }
    const bool anyCase = searched->caseInsensitive;
    const std::string_view address = record.publicAddress;
    if (!sameText(address.substr(0, record.pattern.size()), record.pattern, anyCase)) {
        return "the address does not begin with the pattern " + record.pattern;
    }
    const auto searchedThis = [&](const std::string& p) {
        return sameText(p, record.pattern, anyCase);
    };
    if (std::none_of(searched->patterns.begin(), searched->patterns.end(), searchedThis)) {
        return "the pattern " + record.pattern + " was not searched by the run";
    }
    return std::nullopt;
}

} // namespace tarwick
