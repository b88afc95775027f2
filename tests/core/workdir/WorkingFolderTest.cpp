#include "core/workdir/WorkingFolder.h"

#include "../found/TempFolder.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

namespace fs = std::filesystem;
using testing::permissionsOf;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

struct Case {
    const char* name;
    const char* requested; // --workdir, relative to the start folder
    bool portableStart;    // the start folder holds vanitygen/
    const char* dataHome;  // $XDG_DATA_HOME, relative to the temporary folder when not empty
    const char* expected;  // the chosen folder, relative to the temporary folder
    bool prepared;         // created 0700 with Data/ and generator links
};

const Case kCases[] = {
    {"RequestedFolderWinsOverPortableStart", "mine", true, "data", "start/mine", true},
    {"PortableStartFolderIsUsedAsItIs", "", true, "data", "start", false},
    {"PerUserFolderUnderXdgDataHome", "", false, "data", "data/Tarwick", true},
    {"PerUserFolderUnderHomeWithoutXdgDataHome", "", false, "", "home/.local/share/Tarwick", true},
};

class WorkingFolderTest : public ::testing::TestWithParam<Case> {};

TEST_P(WorkingFolderTest, ChoosesAndPreparesTheFolder) {
    const Case& c = GetParam();
    TempFolder temp;
    const fs::path installed = temp / "libexec";
    fs::create_directories(installed);
    for (const char* name : {"vanitygen64.exe", "oclvanitygen.exe", "oclvanityminer64.exe"})
        writeBytes(installed / name, name);
    fs::create_directories(temp / "start" / (c.portableStart ? "vanitygen" : ""));
    const std::string dataHome = *c.dataHome ? (temp / c.dataHome).string() : "";

    const WorkingFolder chosen = chooseWorkingFolder(
        {c.requested, temp / "start", dataHome, (temp / "home").string(), installed});

    ASSERT_EQ(chosen.error, "");
    EXPECT_EQ(chosen.path.lexically_normal(), (temp / c.expected).lexically_normal());
    EXPECT_EQ(fs::exists(chosen.path / "Data"), c.prepared);
    if (!c.prepared)
        return;
    EXPECT_EQ(permissionsOf(chosen.path), 0700u);
    for (const char* name : {"vanitygen64.exe", "oclvanitygen.exe", "oclvanityminer64.exe"}) {
        EXPECT_TRUE(fs::is_symlink(chosen.path / "vanitygen" / name)) << name;
        EXPECT_EQ(readBytes(chosen.path / "vanitygen" / name), name);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WorkingFolderTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A generator the user put in place of a link (or a link of their own, even a broken one)
// survives every start; only what is missing is linked.
TEST(WorkingFolderPrepare, KeepsWhatTheUserPutThere) {
    TempFolder temp;
    fs::create_directories(temp / "libexec");
    writeBytes(temp / "libexec" / "vanitygen64.exe", "installed");
    writeBytes(temp / "libexec" / "oclvanitygen.exe", "installed");
    const fs::path mine = temp / "data" / "Tarwick";
    fs::create_directories(mine / "vanitygen");
    writeBytes(mine / "vanitygen" / "vanitygen64.exe", "users own");
    fs::create_symlink(temp / "gone", mine / "vanitygen" / "oclvanitygen.exe");

    const WorkingFolder chosen =
        chooseWorkingFolder({"", temp / "start", (temp / "data").string(), "", temp / "libexec"});

    ASSERT_EQ(chosen.error, "");
    EXPECT_EQ(readBytes(mine / "vanitygen" / "vanitygen64.exe"), "users own");
    EXPECT_EQ(fs::read_symlink(mine / "vanitygen" / "oclvanitygen.exe"), temp / "gone");
    EXPECT_FALSE(fs::exists(fs::symlink_status(mine / "vanitygen" / "oclvanityminer64.exe")));
}

} // namespace
} // namespace tarwick
