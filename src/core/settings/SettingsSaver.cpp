#include "core/settings/SettingsSaver.h"

#include <exception>
#include <utility>

namespace tarwick {

void SettingsSaver::PostedConsole::append(std::string_view text, ConsoleStyle style,
                                          bool lineBreak) {
    post_([&target = target_, text = std::string(text), style, lineBreak] {
        target.append(text, style, lineBreak);
    });
}

void SettingsSaver::PostedConsole::clear() {
    post_([&target = target_] { target.clear(); });
}

SettingsSaver::SettingsSaver(std::filesystem::path file, ConsoleSink& console, Post toConsoleThread,
                             std::function<void()> onWorkerThread)
    : console_(console, std::move(toConsoleThread)), file_(std::move(file), console_),
      worker_([this, setUp = std::move(onWorkerThread)] { work(setUp); }) {}

SettingsSaver::~SettingsSaver() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !next_ && !saving_; });
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void SettingsSaver::LoadSettings(ViewSettings& settings, FoundAddressStore& store) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !next_ && !saving_; });
    file_.LoadSettings(settings, store);
}

void SettingsSaver::SaveSettings(const ViewSettings& settings, const FoundAddressStore& store,
                                 bool optionsOnly) {
    // The copy is made before the lock so that the worker is never held up by it.
    Request request{settings, store.records(), optionsOnly};
    {
        const std::lock_guard lock(mutex_);
        // A found-address save still waiting stays one when a later options save replaces it.
        if (next_ && !next_->optionsOnly) {
            request.optionsOnly = false;
        }
        next_ = std::move(request);
        if (!optionsOnly) {
            foundKeysUnsaved_ = true;
        }
    }
    changed_.notify_all();
}

bool SettingsSaver::allFoundKeysSaved() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !next_ && !saving_; });
    return !foundKeysUnsaved_;
}

void SettingsSaver::work(const std::function<void()>& onWorkerThread) {
    if (onWorkerThread) {
        onWorkerThread();
    }
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return next_ || stopping_; });
        if (!next_) {
            return;
        }
        Request request = std::move(*next_);
        next_.reset();
        saving_ = true;
        lock.unlock();
        try {
            FoundAddressStore store;
            for (FoundAddress& record : request.records) {
                store.AddFoundAddress(record.isNew, std::move(record.pattern),
                                      std::move(record.publicAddress),
                                      std::move(record.privateKey));
            }
            file_.SaveSettings(request.settings, store, request.optionsOnly);
        } catch (const std::exception&) {
            // Out of memory: a found-address save stays pending and the next save retries it.
        }
        lock.lock();
        saving_ = false;
        // A failed found-address save stays pending in the file until a save succeeds.
        foundKeysUnsaved_ = file_.foundAddressesPending() || (next_ && !next_->optionsOnly);
        changed_.notify_all();
    }
}

} // namespace tarwick
