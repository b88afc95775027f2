// The libcurl client against the local test pool: answers, a pool that is down, one that
// answers too slowly, and one that answers with an error status.

#include "TestPool.h"
#include "pool/CurlHttpClient.h"

#include <cstdlib>
#include <curl/curl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace tarwick;
using namespace std::chrono_literals;

class HttpClient : public ::testing::Test {
protected:
    static void SetUpTestSuite() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    static void TearDownTestSuite() { curl_global_cleanup(); }
};

// A loopback port that nothing listens on: bound, never listened, then closed.
int closedPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

TEST_F(HttpClient, FetchesTheWorkList) {
    test::TestPool pool;
    pool.setWork("1Ab:02AA:0:1;x\n");
    pool::CurlHttpClient client(5s);
    const pool::HttpResult r = client.get(pool.url() + "getWork");
    ASSERT_TRUE(r.transferred) << r.error;
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, "1Ab:02AA:0:1;x\n");
    EXPECT_EQ(pool.workRequests(), 1);
}

TEST_F(HttpClient, PoolDown) {
    pool::CurlHttpClient client(5s);
    const pool::HttpResult r =
        client.get("http://127.0.0.1:" + std::to_string(closedPort()) + "/getWork");
    EXPECT_FALSE(r.transferred);
    EXPECT_FALSE(r.error.empty());
}

TEST_F(HttpClient, SlowPoolRunsIntoTheTimeLimit) {
    test::TestPool pool;
    pool.setWork("x\n");
    pool.setDelay(1500ms);
    pool::CurlHttpClient client(300ms);
    const auto started = std::chrono::steady_clock::now();
    const pool::HttpResult r = client.get(pool.url() + "getWork");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1200ms);
    EXPECT_FALSE(r.transferred);
    EXPECT_NE(r.error.find("timed out"), std::string::npos) << r.error;
}

TEST_F(HttpClient, ErrorStatusIsAnAnswer) {
    test::TestPool pool;
    pool.setMode(test::TestPool::Mode::ServerError);
    pool::CurlHttpClient client(5s);
    const pool::HttpResult r = client.get(pool.url() + "getWork");
    ASSERT_TRUE(r.transferred) << r.error;
    EXPECT_EQ(r.status, 500);
}

TEST_F(HttpClient, HttpsToAPlainServerFails) {
    // A TLS handshake with something that is no TLS server fails; the client never falls
    // back to plain text. (The verification options themselves are set on every request.)
    test::TestPool pool;
    pool::CurlHttpClient client(5s);
    const pool::HttpResult r =
        client.get("https://127.0.0.1:" + std::to_string(pool.port()) + "/getWork");
    EXPECT_FALSE(r.transferred);
    EXPECT_EQ(pool.workRequests(), 0);
}

TEST_F(HttpClient, SelfSignedCertificateIsRefused) {
    // A real TLS server whose certificate no authority signed: the request must fail on the
    // certificate, and the server must never see it.
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("tarwick_tls_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string key = (dir / "key.pem").string();
    const std::string cert = (dir / "cert.pem").string();
    const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "
                                "/CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout " +
                                key + " -out " + cert + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        fs::remove_all(dir);
        GTEST_SKIP() << "the openssl command cannot make a test certificate here";
    }
    httplib::SSLServer server(cert.c_str(), key.c_str());
    int served = 0;
    server.Get("/getWork", [&](const httplib::Request&, httplib::Response& response) {
        ++served;
        response.set_content("secret work\n", "text/plain");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread thread([&] { server.listen_after_bind(); });
    while (!server.is_running())
        std::this_thread::sleep_for(1ms);
    pool::CurlHttpClient client(5s);
    const pool::HttpResult r = client.get("https://127.0.0.1:" + std::to_string(port) + "/getWork");
    server.stop();
    thread.join();
    fs::remove_all(dir);
    EXPECT_FALSE(r.transferred);
    EXPECT_NE(r.error.find("certificate"), std::string::npos) << r.error;
    EXPECT_EQ(served, 0);
}

} // namespace
