#include "core/found/FoundAddressStore.h"

#include <utility>

namespace tarwick {

bool FoundAddressStore::AddFoundAddress(bool isNew, std::string pattern, std::string publicAddress,
                                        std::string privateKey) {
    const auto [slot, inserted] = addresses_.insert(publicAddress);
    if (!inserted) {
        return false;
    }
    try {
        records_.push_back(
            {isNew, std::move(pattern), std::move(publicAddress), std::move(privateKey)});
    } catch (...) {
        // Keep the index and the sequence in step even when memory runs out.
        addresses_.erase(slot);
        throw;
    }
    return true;
}

bool FoundAddressStore::contains(std::string_view publicAddress) const {
    return addresses_.find(std::string(publicAddress)) != addresses_.end();
}

std::optional<std::size_t> FoundAddressStore::indexOf(std::string_view publicAddress) const {
    if (!contains(publicAddress)) {
        return std::nullopt;
    }
    for (std::size_t index = 0; index < records_.size(); ++index) {
        if (records_[index].publicAddress == publicAddress) {
            return index;
        }
    }
    return std::nullopt;
}

bool FoundAddressStore::remove(std::size_t index) {
    if (index >= records_.size()) {
        return false;
    }
    addresses_.erase(records_[index].publicAddress);
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void FoundAddressStore::removeAddresses(const std::unordered_set<std::string>& publicAddresses) {
    std::erase_if(records_, [&publicAddresses](const FoundAddress& record) {
        return publicAddresses.contains(record.publicAddress);
    });
    for (const std::string& address : publicAddresses) {
        addresses_.erase(address);
    }
}

} // namespace tarwick
