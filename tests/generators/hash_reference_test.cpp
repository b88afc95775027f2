// SHA-256, RIPEMD-160 and hash160 of the portable code against OpenSSL, on the published test
// messages and on random data of every length around the block boundaries.

#include "ec_reference.h"
#include "engine/hash/Hash160.h"
#include "engine/hash/Ripemd160.h"
#include "engine/hash/Sha256.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <random>
#include <string>
#include <vector>

namespace {

using tarwick::engine::hash160;
using tarwick::engine::ripemd160;
using tarwick::engine::sha256;

// An OpenSSL digest by name. RIPEMD160 is in the default provider from OpenSSL 3.0.7 on.
std::vector<std::uint8_t> opensslDigest(const char* name, const std::uint8_t* data,
                                        std::size_t length) {
    EVP_MD* md = EVP_MD_fetch(nullptr, name, nullptr);
    if (md == nullptr)
        throw std::runtime_error(std::string("OpenSSL lacks ") + name);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(EVP_MD_get_size(md)));
    unsigned int outLength = 0;
    const int ok = EVP_Digest(data, length, out.data(), &outLength, md, nullptr);
    EVP_MD_free(md);
    if (ok != 1)
        throw std::runtime_error("EVP_Digest failed");
    return out;
}

std::string hex(const std::uint8_t* data, std::size_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (std::size_t i = 0; i < length; ++i) {
        s += digits[data[i] >> 4];
        s += digits[data[i] & 15];
    }
    return s;
}

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(HashReference, Sha256PublishedVectors) {
    std::uint8_t out[32];
    sha256(nullptr, 0, out);
    EXPECT_EQ(hex(out, 32), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    const auto abc = bytesOf("abc");
    sha256(abc.data(), abc.size(), out);
    EXPECT_EQ(hex(out, 32), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    const auto two = bytesOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq");
    sha256(two.data(), two.size(), out);
    EXPECT_EQ(hex(out, 32), "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST(HashReference, Ripemd160PublishedVectors) {
    std::uint8_t out[20];
    ripemd160(nullptr, 0, out);
    EXPECT_EQ(hex(out, 20), "9c1185a5c5e9fc54612808977ee8f548b2258d31");
    const auto abc = bytesOf("abc");
    ripemd160(abc.data(), abc.size(), out);
    EXPECT_EQ(hex(out, 20), "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc");
    const auto alphabet = bytesOf("abcdefghijklmnopqrstuvwxyz");
    ripemd160(alphabet.data(), alphabet.size(), out);
    EXPECT_EQ(hex(out, 20), "f71c27109c692c1b56bbdceb5b9d2865b3708dbc");
}

TEST(HashReference, RandomMessagesOfEveryLengthAgreeWithOpenSsl) {
    auto rng = tarwick::test::randomEngine(20240601);
    std::vector<std::uint8_t> data(300);
    for (std::size_t length = 0; length <= 300; ++length) {
        for (auto& byte : data)
            byte = static_cast<std::uint8_t>(rng());
        std::uint8_t sha[32];
        std::uint8_t rmd[20];
        std::uint8_t h160[20];
        sha256(data.data(), length, sha);
        ripemd160(data.data(), length, rmd);
        hash160(data.data(), length, h160);

        const auto expectSha = opensslDigest("SHA256", data.data(), length);
        const auto expectRmd = opensslDigest("RIPEMD160", data.data(), length);
        const auto expectH160 = opensslDigest("RIPEMD160", expectSha.data(), expectSha.size());
        ASSERT_EQ(hex(sha, 32), hex(expectSha.data(), 32)) << "length " << length;
        ASSERT_EQ(hex(rmd, 20), hex(expectRmd.data(), 20)) << "length " << length;
        ASSERT_EQ(hex(h160, 20), hex(expectH160.data(), 20)) << "length " << length;
    }
}

TEST(HashReference, Sha256dIsSha256Twice) {
    const auto hello = bytesOf("hello");
    std::uint8_t out[32];
    tarwick::engine::sha256d(hello.data(), hello.size(), out);
    const auto once = opensslDigest("SHA256", hello.data(), hello.size());
    const auto twice = opensslDigest("SHA256", once.data(), once.size());
    EXPECT_EQ(hex(out, 32), hex(twice.data(), 32));
}

} // namespace
