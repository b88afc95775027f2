#include "core/found/PrivateFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tarwick {
namespace {

using testing::TempFolder;

std::size_t entriesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

// Lets the test see the mode the writer chose rather than one the umask narrowed.
class OpenUmask {
public:
    OpenUmask() : previous_(::umask(0)) {}
    ~OpenUmask() { ::umask(previous_); }

private:
    mode_t previous_;
};

TEST(PrivateFile, NewFileIsReadableByItsOwnerOnly) {
    OpenUmask umask;
    TempFolder folder;
    const auto file = folder / "Settings.ini";
    ASSERT_TRUE(writePrivateFile(file, "a=1\r\n").ok());
    EXPECT_EQ(testing::readBytes(file), "a=1\r\n");
    EXPECT_EQ(testing::permissionsOf(file), 0600u);
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

TEST(PrivateFile, ReplacingNarrowsTheModeAndKeepsAStricterOne) {
    OpenUmask umask;
    struct Case {
        std::filesystem::perms before;
        unsigned after;
    };
    using std::filesystem::perms;
    const Case cases[] = {{perms(0644), 0600u},
                          {perms(0666), 0600u},
                          {perms(0400), 0400u},
                          {perms(0600), 0600u},
                          {perms(0200), 0200u}};
    for (const Case& c : cases) {
        TempFolder folder;
        const auto file = folder / "Settings.ini";
        testing::writeBytes(file, "old");
        std::filesystem::permissions(file, c.before);
        ASSERT_TRUE(writePrivateFile(file, "new").ok());
        EXPECT_EQ(testing::permissionsOf(file), c.after);
        EXPECT_EQ(testing::readBytes(file), "new");
    }
}

TEST(PrivateFile, FailedWriteLeavesTheOldFileWholeAndNoTemporary) {
    TempFolder folder;
    const auto file = folder / "Settings.ini";
    const std::string old = "[Settings]\r\nexternal_app=1\r\n";
    testing::writeBytes(file, old);
    PrivateFileResult result;
    {
        testing::FileSizeLimit limit(100);
        result = writePrivateFile(file, std::string(5000, 'x'));
    }
    EXPECT_EQ(result.status, PrivateFileStatus::Failed);
    EXPECT_EQ(result.error, std::errc::file_too_large);
    EXPECT_EQ(testing::readBytes(file), old);
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

TEST(PrivateFile, TargetThatCannotBeReplacedIsLeftAlone) {
    TempFolder folder;
    const auto target = folder / "Settings.ini";
    std::filesystem::create_directory(target);
    testing::writeBytes(target / "inside", "kept");
    EXPECT_EQ(writePrivateFile(target, "x").status, PrivateFileStatus::Failed);
    EXPECT_EQ(testing::readBytes(target / "inside"), "kept");
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

TEST(PrivateFile, MissingFolderIsToldApart) {
    TempFolder folder;
    EXPECT_EQ(writePrivateFile(folder / "Data/x.txt", "x").status,
              PrivateFileStatus::FolderMissing);
    EXPECT_EQ(entriesIn(folder.path()), 0u);
}

// A link planted at the target (to .bashrc, say) must not make a save rewrite what it names.
TEST(PrivateFile, SymbolicLinkIsReplacedNeverFollowed) {
    TempFolder folder;
    testing::writeBytes(folder / "victim", "the user's other file");
    ::chmod((folder / "victim").c_str(), 0644);
    std::filesystem::create_symlink("victim", folder / "Settings.ini");
    ASSERT_TRUE(writePrivateFile(folder / "Settings.ini", "new").ok());
    EXPECT_FALSE(std::filesystem::is_symlink(folder / "Settings.ini"));
    EXPECT_EQ(testing::readBytes(folder / "Settings.ini"), "new");
    EXPECT_EQ(testing::permissionsOf(folder / "Settings.ini"), 0600u);
    EXPECT_EQ(testing::readBytes(folder / "victim"), "the user's other file");
}

} // namespace
} // namespace tarwick
