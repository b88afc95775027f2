#pragma once

// A bounty pool for the miner's tests: serves a work list on 127.0.0.1 (an ephemeral port)
// and checks every solve request on its own, with libsecp256k1 and OpenSSL, the way a real
// pool must: the address of P + k*G (P from the work list, k from the request) has to begin
// with the pattern. It records what it accepted and drops the solved line from its list.

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace tarwick::test {

class TestPool {
public:
    struct Accepted {
        std::string pattern;
        std::string publicKeyHex; // as the request spelled it
        std::string offsetHex;
        std::string rewardAddress;
        std::string address; // of P + k*G, computed by the pool
    };

    TestPool();
    ~TestPool();
    TestPool(const TestPool&) = delete;
    TestPool& operator=(const TestPool&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:PORT/"
    std::string url() const;

    void setWork(const std::string& body);
    // Every answer waits this long first.
    void setDelay(std::chrono::milliseconds delay);

    std::vector<Accepted> accepted() const;
    int workRequests() const;

private:
    // The verdict on a solve request: "OK!" or the error text.
    std::string judge(const std::string& key, const std::string& privateKey,
                      const std::string& bitcoinAddress);

    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::string work_;
    std::chrono::milliseconds delay_{0};
    std::vector<Accepted> accepted_;
    int workRequests_ = 0;
};

// P + k*G, uncompressed, with libsecp256k1; empty when the key or offset is unusable or the sum
// is the point at infinity. `publicKeyHex` may be compressed.
std::vector<std::uint8_t> referenceSplitKeySum(const std::string& publicKeyHex,
                                               const std::string& offsetHex);
// Its address for the version byte, hashed by OpenSSL; empty when there is no sum.
std::string referenceSplitKeyAddress(const std::string& publicKeyHex, const std::string& offsetHex,
                                     std::uint8_t version);

} // namespace tarwick::test
