// vanitygen64.exe started as the front-end starts it; every key it reports is re-derived
// with libsecp256k1 and OpenSSL.

#include "ProgramRun.h"

namespace tarwick::test {
namespace {

TEST(CpuProgram, Runs) {
    const std::string hard = "1BitcoinEaterAddressDontSend";
    // Every pattern "1" + two characters: thousands of finds in a few seconds.
    const std::string alphabet = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";
    const auto used = static_cast<std::size_t>(iterations(20));
    std::string many;
    for (std::size_t x = 0; x < used; ++x) {
        for (const char y : alphabet) {
            many += std::string("1") + alphabet[x] + y + "\n";
        }
    }
    // clang-format off
    std::vector<ProgramCase> cases = {
        {{"-t", "2", "-o", "results.txt", "1A"}, 0, "Difficulty: 22\n", 1, "one pattern"},
        {{"-t", "1", "1I", "1A"}, 0, "1I", 1, "a bad pattern is skipped"},
        {{"-t", "1", "-o", "results.txt", "-f", "patterns.txt"}, 1, "1Il0", 0, "only bad patterns",
         "0abc\r\n1Il0\r\n2abc\r\n1Ab \r\n"},
        {{"-t", "1"}, 1, "error ", 0, "no pattern"}, {{"-f", "none"}, 1, "error ", 0, "no file"},
        {{"-o", "folder/results.txt", "1A"}, 1, "error ", 0, "results file cannot be made"},
        {{"-q", "1A"}, 1, "error ", 0, "bad option"}, {{"-ik", "1A"}, 1, "-ik", 0, "joined"},
        {{"-t"}, 1, "-t", 0, "no thread count"}, {{"-t", "0", "1A"}, 1, "'0'", 0, "no threads"},
        {{"-t", "two", "1A"}, 1, "two", 0, "not a number"}, {{"-o", "", "1A"}, 1, "-o", 0, "no -o"},
        {{"-t", "1025", "1A"}, 1, "1025", 0, "many"}, {{"-F", "p2sh", "1A"}, 1, "p2sh", 0, "-F"},
        // The front-end passes an empty argument for case sensitivity. Every line ending, empty
        // lines, no line break at the end.
        {{"-t1", "", "-F", "uncompressed", "-oresults.txt", "-fpatterns.txt", "1B"}, 0, "", 5,
         "joined values", "\n1A\r\r\n\r\n\r1C\n1D\r1Ab"},
        {{"-h"}, 0, "-o FILE", 0, "help"},
        {{"-t", "2", hard}, -SIGTERM, "[Prob 0.0%][50% in ", 0, "status line",
         {}, {.stopAfter = 2500ms}},
        // Records are being written when SIGTERM lands.
        {{"-t", "2", "-k", "-o", "results.txt", "1A"}, -SIGTERM, "", -2, "stopped mid-run", {},
         {.stopAfter = 1500ms}},
        // The hard pattern would keep a run going that did not stop at the failed write.
        {{"-t", "1", "-o", "/dev/full", "1A", hard}, 4, "Output error - ", 1, "key not written"},
        {{"-t", "2", "-o", "results.txt", "-f", "patterns.txt"}, 0, "", int(used * alphabet.size()),
         "many finds", many},
    };
    // The portable field and hash code must be as right as the fast paths this CPU picks; an
    // unsupported path falls back to one that is, and says which ran.
    for (const std::string field : {"portable", "mulx-adx", "ifma"}) {
        for (const std::string hash : {"scalar", "avx2", "avx512"}) {
            for (const char* format : {"compressed", "uncompressed"}) {
                cases.push_back({{"-t", "1", "-v", "-F", format, "1Ab", "1B"}, 0, "Field backend: ",
                                 2, format, {}, {.environment = {"TARWICK_FIELD_BACKEND=" + field,
                                                                 "TARWICK_HASH_BACKEND=" + hash}}});
}
}
}
    // clang-format on
    for (const ProgramCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options.environment));
        checkProgram(TARWICK_VANITYGEN64, c);
    }
}

} // namespace
} // namespace tarwick::test
