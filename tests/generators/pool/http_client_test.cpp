// The libcurl client against local servers: an error status is an answer, and HTTPS never
// falls back to plain text nor accepts a certificate no authority signed. (Answers, a pool
// that is down and time limits are met by the miner's own runs.)

#include "TestPool.h"
#include "pool/CurlHttpClient.h"

#include <curl/curl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

namespace {

using namespace tarwick;
using namespace std::chrono_literals;

class HttpClient : public ::testing::Test {
protected:
    static void SetUpTestSuite() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    static void TearDownTestSuite() { curl_global_cleanup(); }
};

TEST_F(HttpClient, ErrorStatusIsAnAnswerAndHttpsToAPlainServerFails) {
    test::TestPool pool;
    pool::CurlHttpClient client(5s);
    const pool::HttpResult answer = client.get(pool.url() + "nothing-here");
    ASSERT_TRUE(answer.transferred) << answer.error;
    EXPECT_EQ(answer.status, 404);
    const pool::HttpResult tls =
        client.get("https://127.0.0.1:" + std::to_string(pool.port()) + "/getWork");
    EXPECT_FALSE(tls.transferred);
    EXPECT_EQ(pool.workRequests(), 0);
}

TEST_F(HttpClient, SelfSignedCertificateIsRefused) {
    // The request must fail on the certificate, and the server must never see it.
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
