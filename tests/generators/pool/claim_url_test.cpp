// The requests the miner sends: the getWork address and the solve request that claims a
// reward, character for character.

#include "PoolVectors.h"
#include "ec_reference.h"
#include "pool/ClaimUrl.h"
#include "pool/WorkList.h"

#include <gtest/gtest.h>

namespace {

using namespace tarwick;

TEST(ClaimUrl, BaseUrlGetsExactlyOneSlash) {
    EXPECT_EQ(pool::normalizedPoolUrl("https://vanitypool.appspot.com"),
              "https://vanitypool.appspot.com/");
    EXPECT_EQ(pool::normalizedPoolUrl("https://vanitypool.appspot.com/"),
              "https://vanitypool.appspot.com/");
    EXPECT_EQ(pool::getWorkUrl("http://127.0.0.1:8080//"), "http://127.0.0.1:8080/getWork");
}

TEST(ClaimUrl, SolveRequestForTheVector) {
    const test::Bytes p = test::referencePublicKey(test::keyFromHex(test::kRequesterKey), false);
    std::array<std::uint8_t, 65> key{};
    std::copy(p.begin(), p.end(), key.begin());
    const std::string url =
        pool::claimUrl("https://pool.example/", "1Abc", key,
                       engine::Scalar::fromUint64(test::kVectorOffset), test::kRewardAddress);
    std::string pubHex = test::toHex(p);
    for (char& c : pubHex)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(url, "https://pool.example/solve?key=1Abc%3A" + pubHex +
                       "&privateKey=" + std::string(60, '0') + "1398" +
                       "&bitcoinAddress=1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm");
    EXPECT_EQ(pubHex.substr(0, 2), "04");
    EXPECT_EQ(pubHex.size(), 130u);
}

TEST(ClaimUrl, OddCharactersArePercentEncoded) {
    std::array<std::uint8_t, 65> key{};
    key[0] = 4;
    const std::string url =
        pool::claimUrl("http://h/", "1a&b=c", key, engine::Scalar::fromUint64(1), "1x y");
    EXPECT_NE(url.find("key=1a%26b%3Dc%3A04"), std::string::npos) << url;
    EXPECT_NE(url.find("&bitcoinAddress=1x%20y"), std::string::npos) << url;
}

} // namespace
