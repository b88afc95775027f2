#include "TestPool.h"

#include "EcReference.h"

#include <httplib.h>
#include <secp256k1.h>
#include <sstream>

namespace tarwick::test {

namespace {

// The address (version 0) of P + k*G, with libsecp256k1 and OpenSSL; empty when P or k is
// unusable or the sum is the point at infinity. (Text that is no hex is an HTTP error.)
std::string splitKeyAddress(const std::string& publicKeyHex, const std::string& offsetHex) {
    Bytes bytes;
    for (std::size_t i = 0; i < publicKeyHex.size(); i += 2) {
        bytes.push_back(
            static_cast<std::uint8_t>(std::stoul(publicKeyHex.substr(i, 2), nullptr, 16)));
    }
    const Key offset = keyFromHex(offsetHex);
    secp256k1_pubkey key;
    Bytes point(65);
    std::size_t length = point.size();
    const secp256k1_context* context = secp256k1_context_static;
    if (!secp256k1_ec_pubkey_parse(context, &key, bytes.data(), bytes.size()) ||
        !secp256k1_ec_pubkey_tweak_add(context, &key, offset.data())) {
        return {};
    }
    secp256k1_ec_pubkey_serialize(context, point.data(), &length, &key, SECP256K1_EC_UNCOMPRESSED);
    return referenceAddressOfHash(0, referenceHash160(point).data());
}

} // namespace

TestPool::TestPool() : server_(std::make_unique<httplib::Server>()) {
    server_->Get("/(getWork|solve)",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     std::lock_guard lock(mutex_); // held through the delay: one answer at a time
                     std::this_thread::sleep_for(delay_);
                     const bool work = request.path == "/getWork";
                     response.set_content(work ? work_
                                               : judge(request.get_param_value("key"),
                                                       request.get_param_value("privateKey"),
                                                       request.get_param_value("bitcoinAddress")),
                                          "text/plain");
                 });
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running()) { // the socket listens from bind on; wait for the accept loop
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

TestPool::~TestPool() {
    server_->stop();
    thread_.join();
}

std::string TestPool::judge(const std::string& key, const std::string& offsetHex,
                            const std::string& rewardAddress) {
    const std::size_t colon = key.find(':');
    const std::string pattern = key.substr(0, colon), publicKey = key.substr(colon + 1);
    std::istringstream in(work_); // every line of the tests' lists has version 0
    std::string kept, solved;
    for (std::string line; std::getline(in, line);) {
        (solved.empty() && line.starts_with(pattern + ":") ? solved : kept) += line + "\n";
    }
    const std::string address = splitKeyAddress(publicKey, offsetHex);
    if (colon == key.npos || solved.empty() || address.empty()) {
        return "Unknown work or invalid key";
    }
    if (!address.starts_with(pattern)) {
        return "Wrong pattern";
    }
    accepted_.push_back({pattern, publicKey, offsetHex, rewardAddress, address});
    work_ = kept;
    return "OK!";
}

} // namespace tarwick::test
