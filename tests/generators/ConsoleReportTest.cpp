// What the generator writes: a status refresh, then a found record on the console and at the
// end of what the results file held, then a failure.

#include "program/ConsoleReport.h"

#include "ProgramRun.h"

#include <cstdio>

namespace tarwick::program {
namespace {

TEST(ConsoleReport, StatusThenFoundThenFailure) {
    const test::TempFolder dir;
    const auto path = dir.path / "results.txt";
    std::ofstream(path) << "earlier\n";
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    engine::ResultFile results;
    std::string error;
    EXPECT_FALSE(results.append("x", error)); // not open yet
    ASSERT_TRUE(results.open(path.string(), error)) << error;
    ConsoleReport report(out, out, &results); // stray error output breaks the text below
    report.status({944120});
    engine::FoundKey key;
    key.pattern = "1Ab";
    key.address = "1AbqrdbFA3UJ1g2cSop1pWKevgjso5XsSM";
    key.privateKeyWif = "5JSi6i9JAhjg3RsZXzaDHvADBj3p5i3RY1ohWYfADJjHSba6oEQ";
    report.found(key);
    report.failed("Self-check error - a key failed");
    report.status({944120});
    report.close();
    std::fclose(out);
    const std::string console(text, size);
    std::free(text);
    const std::string record =
        "Pattern: 1Ab\nAddress: " + key.address + "\nPrivkey: " + key.privateKeyWif + "\n";
    EXPECT_EQ(test::readAll(path), "earlier\n" + record);
    // The refresh is padded to 79 characters; a line break ends it before the record and at
    // the close.
    EXPECT_EQ(console.substr(0, 20), "\r[944.12 Kkey/s][tot");
    EXPECT_EQ(console.substr(80),
              "\n" + record + "Self-check error - a key failed\n" + console.substr(0, 80) + "\n");
}

} // namespace
} // namespace tarwick::program
