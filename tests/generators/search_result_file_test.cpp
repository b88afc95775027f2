// The results file: created owner-only whatever the umask, keeping what it held, each record
// appended at once, byte for byte.

#include "ProgramRun.h"
#include "engine/search/ResultFile.h"

namespace tarwick::engine {
namespace {

namespace fs = std::filesystem;

TEST(ResultFile, OwnerOnlyKeepsWhatItHeldAndAppendsEachRecordAtOnce) {
    const test::TempFolder dir;
    std::string error;
    for (const char* earlier : {"", "earlier\n"}) {
        const auto path = dir.path / (std::string("results") + earlier);
        if (*earlier)
            std::ofstream(path, std::ios::binary) << earlier;
        const mode_t previous = ::umask(0);
        ResultFile file;
        const bool opened = file.open(path.string(), error);
        ::umask(previous);
        ASSERT_TRUE(opened) << error;
        EXPECT_TRUE(*earlier || (fs::status(path).permissions() & fs::perms::all) ==
                                    (fs::perms::owner_read | fs::perms::owner_write));
        std::string expected = earlier;
        for (const char* record : {"Pattern: 1A\nAddress: 1Aa\nPrivkey: K1\n", "Pattern: 1B\n"}) {
            ASSERT_TRUE(file.append(record, error)) << error;
            EXPECT_EQ(test::readAll(path), expected += record); // before the file is closed
        }
    }
    ResultFile file;
    EXPECT_FALSE(file.append("x", error)); // never opened
}

} // namespace
} // namespace tarwick::engine
