#pragma once

#include "core/common/ConsoleSink.h"
#include "core/found/FoundAddressStore.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/ViewSettings.h"

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tarwick {

// Settings.ini saved on a worker thread, so that a pass that finds a key never waits for the
// rewrite and fsync of a large file. At most one save runs; while it runs, the latest state
// asked for waits to be written next (states in between are skipped, as the latest holds all
// they held). Each save keeps every guarantee of SettingsFile: atomic replace, fsync, 0600, a
// failure told once and made good by the next save.
class SettingsSaver {
public:
    // Runs a task on the thread that owns the console, later; the console is not thread-safe.
    using Post = std::function<void(std::function<void()>)>;

    // onWorkerThread runs first on the worker thread (to lower its priority, say).
    SettingsSaver(std::filesystem::path file, ConsoleSink& console, Post toConsoleThread,
                  std::function<void()> onWorkerThread = {});
    // Finishes every save asked for before it returns.
    ~SettingsSaver();
    SettingsSaver(const SettingsSaver&) = delete;
    SettingsSaver& operator=(const SettingsSaver&) = delete;

    void LoadSettings(ViewSettings& settings, FoundAddressStore& store);
    // Takes a copy of the state and returns at once.
    void SaveSettings(const ViewSettings& settings, const FoundAddressStore& store,
                      bool optionsOnly);

    // Waits until every save asked for is done; then true when Settings.ini holds every found
    // address of the last state saved, false while one is only in memory (a failed save).
    bool allFoundKeysSaved();

private:
    // The records alone: the store's address index is rebuilt on the worker, not copied here.
    struct Request {
        ViewSettings settings;
        std::vector<FoundAddress> records;
        bool optionsOnly = true;
    };

    // Forwards the file's messages to the console's thread.
    class PostedConsole : public ConsoleSink {
    public:
        PostedConsole(ConsoleSink& target, Post post) : target_(target), post_(std::move(post)) {}
        void append(std::string_view text, ConsoleStyle style, bool lineBreak) override;
        void clear() override;

    private:
        ConsoleSink& target_;
        Post post_;
    };

    void work(const std::function<void()>& onWorkerThread);

    PostedConsole console_;
    SettingsFile file_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Request> next_;
    bool saving_ = false;
    bool foundKeysUnsaved_ = false;
    bool stopping_ = false;
    std::thread worker_; // last: starts once everything it uses exists
};

} // namespace tarwick
