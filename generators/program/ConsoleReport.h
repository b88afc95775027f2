#pragma once

#include "engine/search/ResultFile.h"
#include "engine/search/Search.h"

#include <cstdio>
#include <functional>

namespace tarwick::program {

// The generator's console and results file: status refreshes on one line, found keys as
// "Pattern: ", "Address: " and "Privkey: " lines on the console and appended to the
// results file (when one is open), failures as lines that contain "error ".
class ConsoleReport final : public engine::SearchObserver {
public:
    ConsoleReport(std::FILE* out, std::FILE* err, engine::ResultFile* results);

    void status(const engine::SearchStatus& status) override;
    void found(const engine::FoundKey& key) override;
    void failed(const std::string& message) override;

    // Called once when a found key could not be appended to the results file.
    void onWriteFailure(std::function<void()> handler) { onWriteFailure_ = std::move(handler); }
    // Ends an open status line before the program exits.
    void close();
    bool writeFailed() const { return writeFailed_; }

private:
    void endStatusLine();

    std::FILE* out_;
    std::FILE* err_;
    engine::ResultFile* results_;
    bool statusOpen_ = false;
    bool writeFailed_ = false;
    std::function<void()> onWriteFailure_;
};

} // namespace tarwick::program
