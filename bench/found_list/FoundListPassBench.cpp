// One pass of a run that finds one new key while 10,000 addresses are already stored, on the
// real window: parse results.txt, drop the known addresses, report the new one in the console,
// refresh the list with the newest row selected, ask for Settings.ini to be saved (written on the
// saver's thread). Passes come a second apart, so each one starts once the last save is done;
// that wait is not timed. Prints the median.
#include "GuiTestSupport.h"
#include "core/found/CheckFoundKeys.h"
#include "core/found/FoundKeyScanner.h"
#include "core/found/SearchedPatterns.h"
#include "core/keys/BitcoinKey.h"
#include "view/ConsoleLog.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>

namespace {

struct NoSignals : tarwick::FoundKeyEvents {
    void SetScrollLockLight(bool) override {}
    void beep(int, int) override {}
    void foundAddressAdded(std::size_t) override {}
};

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    constexpr int stored = 10'000;
    std::vector<std::array<std::string, 3>> addresses;
    for (int i = 0; i < stored; ++i) {
        addresses.push_back({"1Ab", "1AbStoredAddress" + std::to_string(1'000'000 + i),
                             "5KStoredPrivateKey" + std::to_string(i)});
    }
    tarwick::test::Application app(2, tarwick::test::settingsWithAddresses(addresses));

    NoSignals quiet;
    const tarwick::SearchedPatterns searched{false, {"1"}};
    tarwick::FoundKeyScanner scanner(app.folder() / "results.txt");
    std::vector<double> milliseconds;
    for (int round = 0; round < 15; ++round) {
        {
            // The generator's file: every key it found in this run, the newest one last. A real
            // key, so the pass times the check every key passes before it is stored.
            tarwick::WifKey key;
            key.secret[31] = static_cast<std::uint8_t>(round + 1);
            key.compressed = true;
            std::ofstream results(app.folder() / "results.txt", std::ios::binary | std::ios::app);
            results << "Pattern: 1\nAddress: " << tarwick::addressOfKey(key)
                    << "\nPrivkey: " << tarwick::encodeWif(key) << "\n";
        }
        const auto start = std::chrono::steady_clock::now();
        tarwick::FoundKeyTarget target{
            app.view->foundAddresses(), {}, quiet, app.view->console(), &searched};
        if (!scanner.check(target)) {
            std::fprintf(stderr, "the new key was not found\n");
            return 1;
        }
        app.view->RefreshFoundList(true);
        app.view->preferences().saveFoundAddresses();
        QApplication::processEvents();
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        if (!app.view->preferences().allFoundKeysSaved()) {
            std::fprintf(stderr, "the new key was not saved\n");
            return 1;
        }
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("found-key pass with %d stored addresses: median %.1f ms, min %.1f ms, max %.1f "
                "ms over %zu passes\n",
                stored, milliseconds[milliseconds.size() / 2], milliseconds.front(),
                milliseconds.back(), milliseconds.size());
    return 0;
}
