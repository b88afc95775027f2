#include "TestPool.h"

#include "ec_reference.h"

#include <httplib.h>
#include <optional>
#include <secp256k1.h>
#include <sstream>

namespace tarwick::test {

namespace {

std::optional<secp256k1_pubkey> parseKey(const std::string& hex) {
    if (hex.size() % 2 != 0 || hex.find_first_not_of("0123456789abcdefABCDEF") != hex.npos)
        return std::nullopt;
    Bytes bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    secp256k1_pubkey key;
    if (secp256k1_ec_pubkey_parse(secp256k1_context_static, &key, bytes.data(), bytes.size()) != 1)
        return std::nullopt;
    return key;
}

} // namespace

Bytes referenceSplitKeySum(const std::string& publicKeyHex, const std::string& offsetHex) {
    auto key = parseKey(publicKeyHex);
    if (!key || offsetHex.empty() || offsetHex.size() > 64 ||
        offsetHex.find_first_not_of("0123456789abcdefABCDEF") != offsetHex.npos)
        return {};
    const Key offset = keyFromHex(offsetHex);
    secp256k1_context* context = secp256k1_context_create(SECP256K1_CONTEXT_NONE);
    const int ok = secp256k1_ec_pubkey_tweak_add(context, &*key, offset.data());
    secp256k1_context_destroy(context);
    if (ok != 1)
        return {};
    Bytes out(65);
    std::size_t length = out.size();
    secp256k1_ec_pubkey_serialize(secp256k1_context_static, out.data(), &length, &*key,
                                  SECP256K1_EC_UNCOMPRESSED);
    return out;
}

std::string referenceSplitKeyAddress(const std::string& publicKeyHex, const std::string& offsetHex,
                                     std::uint8_t version) {
    const Bytes sum = referenceSplitKeySum(publicKeyHex, offsetHex);
    if (sum.empty())
        return {};
    Bytes payload(1, version);
    const Bytes hash = referenceHash160(sum);
    payload.insert(payload.end(), hash.begin(), hash.end());
    return referenceBase58CheckEncode(payload);
}

TestPool::TestPool() : server_(std::make_unique<httplib::Server>()) {
    // Every answer waits for the delay first.
    const auto serve = [this](auto handle) {
        return [this, handle](const httplib::Request& request, httplib::Response& response) {
            std::unique_lock lock(mutex_);
            workRequests_ += request.path == "/getWork";
            const auto delay = delay_;
            lock.unlock();
            std::this_thread::sleep_for(delay);
            response.set_content(handle(request), "text/plain");
        };
    };
    server_->Get("/getWork", serve([this](const httplib::Request&) {
                     std::lock_guard lock(mutex_);
                     return work_;
                 }));
    server_->Get("/solve", serve([this](const httplib::Request& request) {
                     return judge(request.get_param_value("key"),
                                  request.get_param_value("privateKey"),
                                  request.get_param_value("bitcoinAddress"));
                 }));
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // The socket listens from bind on; this only waits for the accept loop to be running.
    while (!server_->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestPool::~TestPool() {
    server_->stop();
    thread_.join();
}

std::string TestPool::url() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

void TestPool::setWork(const std::string& body) {
    std::lock_guard lock(mutex_);
    work_ = body;
}

void TestPool::setDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
}

std::vector<TestPool::Accepted> TestPool::accepted() const {
    std::lock_guard lock(mutex_);
    return accepted_;
}

int TestPool::workRequests() const {
    std::lock_guard lock(mutex_);
    return workRequests_;
}

std::string TestPool::judge(const std::string& key, const std::string& privateKey,
                            const std::string& bitcoinAddress) {
    const auto payload = referenceBase58CheckDecode(bitcoinAddress);
    if (!payload || payload->size() != 21 || ((*payload)[0] != 0 && (*payload)[0] != 5))
        return "Invalid bitcoin address";
    const std::size_t colon = key.find(':');
    const std::string pattern = key.substr(0, colon);
    // P + 0*G: the key in one spelling, whichever form the request or the list uses.
    const std::string publicKey =
        colon == key.npos ? std::string() : toHex(referenceSplitKeySum(key.substr(colon + 1), "0"));
    if (publicKey.empty())
        return "Invalid key";
    std::lock_guard lock(mutex_);
    // The list's lines, pattern:publicKey:version;comment, read the simple way (this is the
    // pool's own list, not input).
    std::stringstream in(work_);
    std::string kept;
    bool solved = false;
    for (std::string line; std::getline(in, line);) {
        std::stringstream fields(line.substr(0, line.find(';')));
        std::string linePattern, lineKey, version;
        const bool whole = std::getline(fields, linePattern, ':') &&
                           std::getline(fields, lineKey, ':') && std::getline(fields, version, ':');
        if (solved || !whole || linePattern != pattern ||
            toHex(referenceSplitKeySum(lineKey, "0")) != publicKey) {
            kept += line + "\n";
            continue;
        }
        const std::string address = referenceSplitKeyAddress(
            publicKey, privateKey, static_cast<std::uint8_t>(std::atoi(version.c_str())));
        if (address.empty())
            return "Invalid private key";
        if (address.compare(0, pattern.size(), pattern) != 0)
            return "Wrong pattern";
        accepted_.push_back({pattern, key.substr(colon + 1), privateKey, bitcoinAddress, address});
        solved = true; // the solved line leaves the list
    }
    if (!solved)
        return "Unknown work";
    work_ = kept;
    return "OK!";
}

} // namespace tarwick::test
