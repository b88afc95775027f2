#pragma once

// A bounty pool on 127.0.0.1 that judges every solve request on its own (libsecp256k1, OpenSSL):
// the address of P + k*G must begin with the pattern. It keeps what it accepted, drops the line.

#include <chrono>
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
        std::string pattern, publicKeyHex /* as requested */, offsetHex, rewardAddress;
        std::string address; // of P + k*G, computed by the pool
    };
    TestPool();
    ~TestPool();
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    void setWork(const std::string& body) {
        std::lock_guard lock(mutex_);
        work_ = body;
    }
    void setDelay(std::chrono::milliseconds d) { // before each answer
        std::lock_guard lock(mutex_);
        delay_ = d;
    }
    std::vector<Accepted> accepted() const {
        std::lock_guard lock(mutex_);
        return accepted_;
    }

private:
    std::string judge(const std::string& key, const std::string& offsetHex,
                      const std::string& rewardAddress); // "OK!" or the error text
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::string work_;
    std::chrono::milliseconds delay_{0};
    std::vector<Accepted> accepted_;
};

} // namespace tarwick::test
