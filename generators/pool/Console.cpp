#include "pool/Console.h"

namespace tarwick::pool {

void Console::write(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
}

void Console::line(const std::string& text) {
    write((statusOpen_ ? "\n" : "") + text + "\n");
    statusOpen_ = false;
}

void Console::status(const std::string& groups) {
    std::string text = "\r" + groups;
    if (text.size() < 80) {
        text.append(80 - text.size(), ' ');
    }
    write(text);
    statusOpen_ = true;
}

void Console::close() {
    if (statusOpen_) {
        write("\n");
    }
    statusOpen_ = false;
}

} // namespace tarwick::pool
