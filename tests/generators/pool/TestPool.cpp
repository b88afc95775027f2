#include "TestPool.h"

#include "ec_reference.h"

#include <httplib.h>
#include <optional>
#include <secp256k1.h>
#include <sstream>

namespace tarwick::test {

namespace {

std::optional<Bytes> fromHex(const std::string& hex) {
    if (hex.size() % 2 != 0)
        return std::nullopt;
    Bytes out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const std::string pair = hex.substr(i, 2);
        if (pair.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return std::nullopt;
        out.push_back(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
    }
    return out;
}

std::optional<secp256k1_pubkey> parseKey(const std::string& hex) {
    const auto bytes = fromHex(hex);
    secp256k1_pubkey key;
    if (!bytes || secp256k1_ec_pubkey_parse(secp256k1_context_static, &key, bytes->data(),
                                            bytes->size()) != 1)
        return std::nullopt;
    return key;
}

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

struct Line {
    std::string pattern;
    std::string publicKey;
    int version = 0;
};

// The work list's lines, read the simple way (this is the pool's own list, not input).
std::vector<Line> lines(const std::string& work) {
    std::vector<Line> out;
    std::stringstream in(work);
    for (std::string text; std::getline(in, text);) {
        std::stringstream fields(text.substr(0, text.find(';')));
        Line line;
        std::string version;
        if (std::getline(fields, line.pattern, ':') && std::getline(fields, line.publicKey, ':') &&
            std::getline(fields, version, ':')) {
            line.version = std::atoi(version.c_str());
            out.push_back(line);
        }
    }
    return out;
}

} // namespace

std::string referenceUncompressedHex(const std::string& publicKeyHex) {
    const auto key = parseKey(publicKeyHex);
    if (!key)
        return {};
    std::uint8_t out[65];
    std::size_t length = sizeof out;
    secp256k1_ec_pubkey_serialize(secp256k1_context_static, out, &length, &*key,
                                  SECP256K1_EC_UNCOMPRESSED);
    return upper(toHex(out, length));
}

std::string referenceSplitKeyAddress(const std::string& publicKeyHex, const std::string& offsetHex,
                                     std::uint8_t version) {
    auto key = parseKey(publicKeyHex);
    if (!key || offsetHex.empty() || offsetHex.size() > 64)
        return {};
    const auto offset = fromHex(std::string(64 - offsetHex.size(), '0') + offsetHex);
    if (!offset)
        return {};
    secp256k1_context* context = secp256k1_context_create(SECP256K1_CONTEXT_NONE);
    const int ok = secp256k1_ec_pubkey_tweak_add(context, &*key, offset->data());
    secp256k1_context_destroy(context);
    if (ok != 1)
        return {};
    Bytes point(65);
    std::size_t length = point.size();
    secp256k1_ec_pubkey_serialize(secp256k1_context_static, point.data(), &length, &*key,
                                  SECP256K1_EC_UNCOMPRESSED);
    Bytes payload{version};
    const Bytes hash = referenceHash160(point);
    payload.insert(payload.end(), hash.begin(), hash.end());
    return referenceBase58CheckEncode(payload);
}

TestPool::TestPool() : server_(std::make_unique<httplib::Server>()) {
    server_->Get("/getWork", [this](const httplib::Request&, httplib::Response& response) {
        std::string body;
        Mode mode;
        std::chrono::milliseconds delay;
        {
            std::lock_guard lock(mutex_);
            ++workRequests_;
            body = work_;
            mode = mode_;
            delay = delay_;
        }
        std::this_thread::sleep_for(delay);
        if (mode == Mode::ServerError) {
            response.status = 500;
            response.set_content("Internal Server Error", "text/plain");
        } else if (mode == Mode::Garbage) {
            std::string junk;
            for (int i = 0; i < 4096; ++i)
                junk.push_back(static_cast<char>((i * 7919 + 13) % 256));
            response.set_content(junk, "application/octet-stream");
        } else {
            response.set_content(body, "text/plain");
        }
    });
    server_->Get("/solve", [this](const httplib::Request& request, httplib::Response& response) {
        std::chrono::milliseconds delay;
        Mode mode;
        {
            std::lock_guard lock(mutex_);
            delay = delay_;
            mode = mode_;
        }
        std::this_thread::sleep_for(delay);
        if (mode == Mode::ServerError) {
            response.status = 500;
            response.set_content("Internal Server Error", "text/plain");
            return;
        }
        const std::string answer =
            judge(request.get_param_value("key"), request.get_param_value("privateKey"),
                  request.get_param_value("bitcoinAddress"));
        {
            std::lock_guard lock(mutex_);
            answers_.push_back(answer);
        }
        response.set_content(answer, "text/plain");
    });
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

void TestPool::setMode(Mode mode) {
    std::lock_guard lock(mutex_);
    mode_ = mode;
}

void TestPool::setDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
}

void TestPool::setRemoveSolved(bool remove) {
    std::lock_guard lock(mutex_);
    removeSolved_ = remove;
}

std::vector<TestPool::Accepted> TestPool::accepted() const {
    std::lock_guard lock(mutex_);
    return accepted_;
}

std::vector<std::string> TestPool::answers() const {
    std::lock_guard lock(mutex_);
    return answers_;
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
    if (colon == std::string::npos)
        return "Invalid key";
    const std::string pattern = key.substr(0, colon);
    const std::string publicKey = referenceUncompressedHex(key.substr(colon + 1));
    if (publicKey.empty())
        return "Invalid public key";
    std::lock_guard lock(mutex_);
    for (const Line& line : lines(work_)) {
        if (line.pattern != pattern || referenceUncompressedHex(line.publicKey) != publicKey)
            continue;
        const std::string address = referenceSplitKeyAddress(
            publicKey, privateKey, static_cast<std::uint8_t>(line.version));
        if (address.empty())
            return "Invalid private key";
        if (address.compare(0, pattern.size(), pattern) != 0)
            return "Wrong pattern";
        accepted_.push_back({pattern, key.substr(colon + 1), privateKey, bitcoinAddress, address});
        if (removeSolved_) {
            std::stringstream in(work_);
            std::string kept;
            for (std::string text; std::getline(in, text);) {
                if (text.rfind(line.pattern + ":" + line.publicKey + ":", 0) != 0)
                    kept += text + "\n";
            }
            work_ = kept;
        }
        return "OK!";
    }
    return "Unknown work";
}

} // namespace tarwick::test
