#include "program/ConsoleReport.h"

#include "engine/search/StatusLine.h"

namespace tarwick::program {

namespace {

void writeAll(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

} // namespace

ConsoleReport::ConsoleReport(std::FILE* out, std::FILE* err, engine::ResultFile* results)
    : out_(out), err_(err), results_(results) {}

void ConsoleReport::endStatusLine() {
    if (statusOpen_) {
        writeAll(out_, "\n");
        statusOpen_ = false;
    }
}

void ConsoleReport::status(const engine::SearchStatus& status) {
    writeAll(out_, engine::formatStatusRefresh(status));
    statusOpen_ = true;
}

void ConsoleReport::found(const engine::FoundKey& key) {
    const std::string record = "Pattern: " + key.pattern + "\nAddress: " + key.address +
                               "\nPrivkey: " + key.privateKeyWif + "\n";
    // The file first: once the user sees the key, it is already on the disk.
    if (results_ != nullptr && results_->isOpen()) {
        std::string error;
        if (!results_->append(record, error)) {
            endStatusLine();
            writeAll(err_, "Output error - could not append the key to the results file: " + error +
                               "; the key below is only on this console\n");
            writeAll(out_, record);
            if (!writeFailed_ && onWriteFailure_) {
                onWriteFailure_();
            }
            writeFailed_ = true;
            return;
        }
    }
    writeAll(out_, (statusOpen_ ? "\n" : "") + record);
    statusOpen_ = false;
}

void ConsoleReport::failed(const std::string& message) {
    endStatusLine();
    writeAll(out_, message + "\n");
}

void ConsoleReport::close() {
    endStatusLine();
}

} // namespace tarwick::program
