#pragma once

#include "core/found/FoundAddress.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace tarwick {

// The found addresses in order of addition, never two with the same public address (exact,
// case-sensitive byte comparison). A hash set of the addresses sits beside the ordered vector so
// that the duplicate test stays constant-time with tens of thousands of records.
class FoundAddressStore {
public:
    // Appends the record unless its public address is already stored; then nothing changes
    // (the stored record keeps its flag, pattern and key) and the result is false.
    bool AddFoundAddress(bool isNew, std::string pattern, std::string publicAddress,
                         std::string privateKey);

    bool contains(std::string_view publicAddress) const;
    // The position of the record with this public address, if it is stored.
    std::optional<std::size_t> indexOf(std::string_view publicAddress) const;
    // Every stored public address: what a question about "all of them" refers to.
    const std::unordered_set<std::string>& publicAddresses() const { return addresses_; }

    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    const FoundAddress& operator[](std::size_t index) const { return records_[index]; }
    const std::vector<FoundAddress>& records() const { return records_; }

    // Removes the record at index; the later ones move up. False (and no change) when out of
    // range.
    bool remove(std::size_t index);
    // Removes the records whose public addresses are given; the others keep their order.
    void removeAddresses(const std::unordered_set<std::string>& publicAddresses);

private:
    std::vector<FoundAddress> records_;
    std::unordered_set<std::string> addresses_;
};

} // namespace tarwick
