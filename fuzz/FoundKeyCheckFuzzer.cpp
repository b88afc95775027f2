// A record of results.txt is checked by re-deriving its address from its key: the Base58 and WIF
// decoding read whatever a generator wrote. A record that passes must be one whose key gives
// its address, and Base58 decoding must be the exact inverse of encoding.
#include "FuzzSupport.h"
#include "core/found/VerifyFoundKey.h"
#include "core/keys/Base58.h"
#include "core/keys/BitcoinKey.h"

using namespace tarwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    if (const auto bytes = decodeBase58(text))
        FUZZ_CHECK(encodeBase58(*bytes) == text);

    // Three fields, split at the first two line feeds: pattern, address, key.
    const std::size_t first = text.find('\n'), second = text.find('\n', first + 1);
    if (second == std::string_view::npos)
        return 0;
    const FoundKeyRecord record{std::string(text.substr(0, first)),
                                std::string(text.substr(first + 1, second - first - 1)),
                                std::string(text.substr(second + 1))};
    const SearchedPatterns searched{size % 2 == 0, {record.pattern}};
    if (!whyFoundKeyFails(record, &searched)) {
        const auto key = decodeWif(record.privateKey);
        FUZZ_CHECK(std::holds_alternative<WifKey>(key) &&
                   addressOfKey(std::get<WifKey>(key)) == record.publicAddress &&
                   encodeWif(std::get<WifKey>(key)) == record.privateKey);
    }
    return 0;
}
