#include "core/workdir/WorkingFolder.h"

#include "search/TempFolder.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::writeBytes;

TEST(WorkingFolder, ChoosesAndPreparesTheFolder) {
    struct Case {
        const char* requested; // --workdir, relative to the start folder
        bool portableStart;    // the start folder holds vanitygen/
        const char* dataHome;  // $XDG_DATA_HOME, relative to the temporary folder when not empty
        const char* expected;  // the chosen folder, relative to the temporary folder
    };
    for (const Case& c : {Case{"mine", true, "data", "start/mine"}, Case{"", true, "data", "start"},
                          Case{"", false, "data", "data/Tarwick"},
                          Case{"", false, "", "home/.local/share/Tarwick"}}) {
        SCOPED_TRACE(c.expected);
        testing::TempFolder temp;
        for (const char* name : {"vanitygen64.exe", "oclvanitygen.exe", "oclvanityminer64.exe"}) {
            writeBytes(temp / "libexec" / name, name);
        }
        fs::create_directories(temp / "start" / (c.portableStart ? "vanitygen" : ""));
        const WorkingFolder chosen = chooseWorkingFolder(
            {c.requested, temp / "start", *c.dataHome ? (temp / c.dataHome).string() : "",
             (temp / "home").string(), temp / "libexec"});
        ASSERT_EQ(chosen.error, "");
        EXPECT_EQ(chosen.path.lexically_normal(), (temp / c.expected).lexically_normal());
        // A portable start folder is used as it is; any other is made 0700 with Data/ and links.
        const bool prepared = c.expected != std::string("start");
        EXPECT_EQ(fs::exists(chosen.path / "Data"), prepared);
        if (prepared) {
            EXPECT_EQ(testing::modeOf(chosen.path), 0700u);
            EXPECT_EQ(readBytes(chosen.path / "vanitygen" / "oclvanitygen.exe"),
                      "oclvanitygen.exe");
        }
    }
}

// A generator the user put in place of a link (or a link of their own, even a broken one)
// survives every start; only what is missing is linked.
TEST(WorkingFolder, KeepsWhatTheUserPutThere) {
    testing::TempFolder temp;
    writeBytes(temp / "libexec" / "vanitygen64.exe", "installed");
    writeBytes(temp / "libexec" / "oclvanitygen.exe", "installed");
    const fs::path mine = temp / "data" / "Tarwick" / "vanitygen";
    writeBytes(mine / "vanitygen64.exe", "users own");
    fs::create_symlink(temp / "gone", mine / "oclvanitygen.exe");
    const WorkingFolder chosen =
        chooseWorkingFolder({"", temp / "start", (temp / "data").string(), "", temp / "libexec"});
    ASSERT_EQ(chosen.error, "");
    EXPECT_EQ(readBytes(mine / "vanitygen64.exe"), "users own");
    EXPECT_EQ(fs::read_symlink(mine / "oclvanitygen.exe"), temp / "gone");
    EXPECT_FALSE(fs::exists(fs::symlink_status(mine / "oclvanityminer64.exe")));
}

} // namespace
} // namespace tarwick
