#pragma once

// From an independent implementation: key a, and k with P + k*G at "1Abc..." (P = a*G).
namespace tarwick::test {
inline constexpr const char* kRequesterKey =
    "18E14A7B6A307F426A94F8114701E7C8E774E7F9A47E2C2035DB29A206321725";
inline constexpr unsigned kVectorOffset = 0x1398;
inline constexpr const char* kVectorAddress = "1Abc1fxZtoT1YSy9dgY7ATQf7pHnELPFnP";
inline constexpr const char* kRewardAddress = "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm"; // key 1
} // namespace tarwick::test
