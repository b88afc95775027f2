#pragma once

#include <string>
#include <string_view>

namespace tarwick::testing {

// Real keys and their addresses, as vanitygen64.exe found them, for tests whose records must
// pass the front-end's check of every found key.
struct ValidKey {
    std::string_view pattern, address, key;

    // The three-line record of results.txt.
    std::string record(std::string_view eol = "\r\n") const {
        return "Pattern: " + std::string(pattern) + std::string(eol) +
               "Address: " + std::string(address) + std::string(eol) +
               "Privkey: " + std::string(key) + std::string(eol);
    }
    // The test generator's script line that writes it.
    std::string foundLine() const {
        return "found " + std::string(pattern) + " " + std::string(address) + " " +
               std::string(key) + "\n";
    }
};

inline constexpr ValidKey kAb1{"1Ab", "1Ab2BY14xzsj18UDekH731Uedfg8SJkwhV",
                               "L5CN9NRk9Tnx5QUEVKdXRfGvpdvGajFvaxYE7ypXgSQz8LxgiaKs"};
inline constexpr ValidKey kAb2{"1Ab", "1AbCyDb866km1pRimFa2wj62sVZ9hGf58k",
                               "L1mtdR84aYBeATFBwsf2GGWJvkhRebaSE5Z5mZy5QaoWU97QRXpe"};
inline constexpr ValidKey kAb3{"1Ab", "1AbEKMtuoPdi4KbTZfDuQnRKwszeiWR3Lh",
                               "KwVGPSZE5Jo3asiVueJVnB49f178mSfWx9amgFqadrfZpnYwZbxH"};
inline constexpr ValidKey kAbUncompressed{"1Ab", "1AbrgDqn4EyKLomMACKaxHJL1PjBEu7Yti",
                                          "5Hq4Xcnu8vPGt5SLhPKUd5sNTgTKU76m9zVzp3UuLLqPnQrrq4B"};
inline constexpr ValidKey kCd{"1Cd", "1CdHUiWdHE3etLiAcjcK8FyHGMCkwukJh3",
                              "5KWbd21CnbMNfLzm1UPQTvT5QX5MUqvMRwqy4LsypboeKyuuSt9"};
inline constexpr ValidKey kEf{"1Ef", "1EfShckLbAaTQwZPaiirixjE7vJtEhrxGz",
                              "5KkFoyZJsRRvmkuvHbCKWLDaMmTL4rDVcZSgdbbASmrv9ecyEGi"};

} // namespace tarwick::testing
