#pragma once

#include "pool/HttpClient.h"

#include <chrono>

namespace tarwick::pool {

// HttpClient on libcurl: HTTP and HTTPS only, TLS certificates and host names verified
// against the system's store, a time limit on every request, and a cap on the size of an
// answer (a pool's work list is a few kilobytes). curl_global_init must have been called.
class CurlHttpClient final : public HttpClient {
public:
    explicit CurlHttpClient(std::chrono::milliseconds timeout);
    ~CurlHttpClient() override;
    CurlHttpClient(const CurlHttpClient&) = delete;
    CurlHttpClient& operator=(const CurlHttpClient&) = delete;

    HttpResult get(const std::string& url) override;

    static constexpr std::size_t kMaxBody = 4 * 1024 * 1024;

private:
    void* handle_; // CURL*, kept for connection reuse
    std::chrono::milliseconds timeout_;
};

} // namespace tarwick::pool
