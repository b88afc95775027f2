#pragma once

#include <string>

namespace tarwick::pool {

// The answer to one GET.
struct HttpResult {
    bool transferred = false; // false: no answer at all (see error)
    long status = 0;          // the HTTP status code
    std::string body;
    std::string error; // why nothing came back
};

// The miner's only way to the pool, so that the loop can be driven without a network.
class HttpClient {
public:
    virtual ~HttpClient() = default;
    virtual HttpResult get(const std::string& url) = 0;
};

} // namespace tarwick::pool
