// A working folder that turns read-only, and a disk that fills up, while the program runs: a
// clear red message in the console, no crash, and nothing already saved lost. As root, folder
// permissions stop nothing, so the folder is a small tmpfs of its own (remounted read-only, or
// filled up); where mounting is not allowed, a file-size limit stands in for the full disk.
#include "FaultGuiSupport.h"
#include "FaultProcesses.h"
#include "TestGenerators.h"
#include "ValidKeys.h"
#include "view/ControlIds.h"

#include <QAction>
#include <QTest>
#include <csignal>
#include <fstream>
#include <sys/mount.h>
#include <sys/resource.h>

using namespace tarwick;
using test::Application;

namespace {

const std::vector<std::array<std::string, 3>> stored{{"1A", "1AStoredAddress", "5KStored"},
                                                     {"1B", "1BStoredAddress", "5KStoredB"}};

// A tmpfs of the given size that QTemporaryDir (and so the test's working folder) uses while
// it exists.
class SmallDisk {
public:
    explicit SmallDisk(const char* size) : folder_(std::make_unique<fault::Folder>()) {
        const std::string options = std::string("size=") + size;
        // TARWICK_FAULT_NO_MOUNT=1 tries the fallbacks where mounting would work.
        mounted_ = !qEnvironmentVariableIsSet("TARWICK_FAULT_NO_MOUNT") &&
                   ::mount("tmpfs", folder_->path().c_str(), "tmpfs", 0, options.c_str()) == 0;
        if (mounted_) {
            hadTmp_ = qEnvironmentVariableIsSet("TMPDIR");
            previousTmp_ = qgetenv("TMPDIR");
            qputenv("TMPDIR", QByteArray(folder_->path().c_str()));
        }
    }
    ~SmallDisk() {
        if (!mounted_)
            return;
        if (hadTmp_)
            qputenv("TMPDIR", previousTmp_);
        else
            qunsetenv("TMPDIR");
        ::umount2(folder_->path().c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    bool makeReadOnly() const {
        return ::mount("tmpfs", folder_->path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY,
                       nullptr) == 0;
    }

private:
    std::unique_ptr<fault::Folder> folder_;
    QByteArray previousTmp_;
    bool hadTmp_ = false;
    bool mounted_ = false;
};

// Fills the file system of the folder, then gives back `free` bytes.
void fill(const std::filesystem::path& filler, std::size_t free) {
    {
        std::ofstream out(filler, std::ios::binary);
        const std::string block(1 << 16, 'f');
        while (out.write(block.data(), static_cast<std::streamsize>(block.size())))
            ;
    }
    const auto size = std::filesystem::file_size(filler);
    std::filesystem::resize_file(filler, size > free ? size - free : 0);
}

// The working folder's entry whose name begins with the prefix (empty path when none).
std::filesystem::path entryStartingWith(const std::filesystem::path& folder,
                                        std::string_view prefix) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with(prefix))
            return entry.path();
    return {};
}

void toggleCaseInsensitive(Application& app) {
    app.frame->command(CommandId::CaseInsensitive)->trigger();
}

} // namespace

class DiskFaultTest : public QObject {
    Q_OBJECT
private slots:
    void readOnlyWorkingFolder();
    void fullDiskKeepsTheKeyUntilItCanBeSaved();
};

void DiskFaultTest::readOnlyWorkingFolder() {
    SmallDisk disk("16m");
    if (!disk.mounted())
        QSKIP("mounting a tmpfs is not allowed here");
    Application app(2, test::settingsWithAddresses(stored));
    testing::InstallTestGenerators(app.folder());
    const std::string before = test::savedSettings(app);
    QVERIFY(disk.makeReadOnly());

    toggleCaseInsensitive(app);
    QString console = fault::consoleText(app);
    QVERIFY2(console.contains(QStringLiteral("[ERROR] The settings could not be saved in "
                                             "'Settings.ini'")),
             qPrintable(console));
    QCOMPARE(fault::colourOf(app, QStringLiteral("[ERROR] The settings")),
             QColor(0xCB, 0x45, 0x45));

    // A start cannot write its patterns file: told in red, nothing runs.
    fault::typePatterns(app, QStringLiteral("1Ab"));
    fault::pressStart(app);
    QTest::qWait(200);
    QVERIFY(!fault::runActive(app));
    console = fault::consoleText(app);
    QVERIFY2(console.contains(QStringLiteral("[ERROR]")), qPrintable(console));
    QCOMPARE(test::savedSettings(app), before);
    QCOMPARE(fault::foundRows(app), 2);
}

void DiskFaultTest::fullDiskKeepsTheKeyUntilItCanBeSaved() {
    SmallDisk disk("8m");
    Application app(2, test::settingsWithAddresses(stored));
    testing::InstallTestGenerators(app.folder());
    const std::string key(testing::kAb1.key);
    testing::WriteGeneratorScript(app.folder(),
                                  "sleep 1200\n" + testing::kAb1.foundLine() + "forever\n");
    fault::typePatterns(app, QStringLiteral("1Ab"));
    fault::pressStart(app);
    QVERIFY(fault::startedGenerator(app) > 0);
    // As the start saved it, with the two stored addresses.
    const std::string before = test::savedSettings(app);

    const auto filler = app.folder() / "filler";
    rlimit previousLimit{};
    ::getrlimit(RLIMIT_FSIZE, &previousLimit);
    // This process may not grow a file past 64 bytes, which every save must.
    const auto limitFileSize = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previousLimit;
        limit.rlim_cur = 64;
        return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    };
    if (disk.mounted())
        fill(filler, 2 * 4096); // room for the generator's two small writes, not for a save
    else
        QVERIFY(limitFileSize());

    QTRY_COMPARE_WITH_TIMEOUT(fault::foundRows(app), 3, 5000);
    QString console = fault::consoleText(app);
    QVERIFY2(console.contains(QStringLiteral("[ERROR] The settings could not be saved in "
                                             "'Settings.ini'. The Bitcoin addresses found are "
                                             "kept")),
             qPrintable(console));
    QCOMPARE(fault::colourOf(app, QStringLiteral("[ERROR] The settings")),
             QColor(0xCB, 0x45, 0x45));
    QCOMPARE(test::savedSettings(app), before);
    QVERIFY(test::fileText(app.folder() / "results.txt").find(key) != std::string::npos);

    // A new run while the key is only in memory and in results.txt keeps that file. Saves still
    // fail; the file-size limit stands in for the full disk so that the small patterns file can
    // be written and the run starts.
    fault::pressStop(app);
    QTRY_VERIFY_WITH_TIMEOUT(
        test::controlOf<QWidget>(*app.view, ControlId::StartSearch)->isEnabled(), 5000);
    if (disk.mounted()) {
        std::filesystem::remove(filler);
        QVERIFY(limitFileSize());
    }
    fault::pressStart(app);
    QVERIFY2(fault::runActive(app), qPrintable(fault::consoleText(app)));
    const auto kept = entryStartingWith(app.folder(), "results-");
    QVERIFY(!kept.empty());
    QVERIFY(test::fileText(kept).find(key) != std::string::npos);
    QCOMPARE(std::filesystem::status(kept).permissions() & std::filesystem::perms::all,
             std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    console = fault::consoleText(app);
    QVERIFY2(console.contains(QStringLiteral("results.txt holds a found key not yet saved in "
                                             "Settings.ini, so it is kept as '") +
                              QString::fromStdString(kept.filename().string())),
             qPrintable(console));

    // Room again: the next save, even of the options only, writes the key that waited.
    ::setrlimit(RLIMIT_FSIZE, &previousLimit);
    toggleCaseInsensitive(app);
    QVERIFY(test::savedSettings(app).find("=" + key + "\r\n") !=
            std::string::npos);
    QVERIFY(test::savedSettings(app).find("=5KStoredB\r\n") !=
            std::string::npos);
    fault::pressStop(app);
    QTRY_VERIFY_WITH_TIMEOUT(!fault::runActive(app), 5000);
}

QTEST_MAIN(DiskFaultTest)
#include "DiskFaultTest.moc"
