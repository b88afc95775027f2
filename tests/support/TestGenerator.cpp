// A stand-in for the Vanitygen programs in tests: it honours the generator contract (options,
// bracketed status groups refreshed with CR, "error " failures, three-line records appended to
// the -o file, a platform listing for -D 99:99) and does what a script tells it.
//
// The script is the file named by TARWICK_TEST_GENERATOR_SCRIPT, else "generator-script.txt" in
// the working folder; one command a line, "#" starts a comment:
//   say TEXT            TEXT to standard output (escapes \r \n \t \\), no line break added
//   warn TEXT           the same to standard error
//   status N|forever MS N status refreshes "\r[... Kkey/s][total ...][Prob ...][50% in ...]",
//                       one every MS milliseconds
//   found PATTERN ADDRESS PRIVKEY
//                       appends the three-line record to the -o file and prints it
//   fail [TEXT]         prints TEXT (default: an OpenCL "error " line) to standard error, exits 1
//   listing             prints an OpenCL platform listing to standard error
//   sleep MS            waits
//   stdin               writes "eof" or "data" to generator-stdin.txt, from what standard input
//                       gives first
//   forever             waits until killed
//   exit CODE           ends with CODE (the end of the script ends with 0)
// Without a script: -D 99:99 prints the listing and exits 1; anything else prints a status
// every second until killed.
// Always, first: the arguments (program first, one a line) go to generator-args.txt and the
// process id to generator-pid.txt, in the working folder.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <process.h>
#define TEST_GENERATOR_PID _getpid()
#else
#include <unistd.h>
#define TEST_GENERATOR_PID getpid()
#endif

namespace {

std::vector<std::string> arguments;

std::optional<std::string> optionValue(const std::string& option) {
    for (std::size_t i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == option) {
            return arguments[i + 1];
        }
    }
    return std::nullopt;
}

std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    return out;
}

void pause(long milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void printStatus(long refresh) {
    char line[128];
    const double rate = 944.12 + static_cast<double>(refresh % 100);
    std::snprintf(line, sizeof line, "[%.2f Kkey/s][total %ld][Prob 0.0%%][50%% in 3901.0y]", rate,
                  713472L * (refresh + 1));
    std::string padded(line);
    padded.resize(79, ' ');
    std::cout << '\r' << padded << std::flush;
}

void printListing() {
    std::cerr << "Difficulty: 77178\n"
                 "Could not open device '99:99', ignoring\n"
                 "Available OpenCL platforms:\n"
                 "0: [Tarwick test] Scripted platform\n"
                 "  0: [Tarwick test] Scripted device\n"
              << std::flush;
}

[[noreturn]] void forever() {
    for (;;) {
        pause(1000);
    }
}

void recordFound(const std::string& pattern, const std::string& address, const std::string& key) {
    const std::string record =
        "Pattern: " + pattern + "\nAddress: " + address + "\nPrivkey: " + key + "\n";
    std::cout << "\n" << record << std::flush;
    if (const auto file = optionValue("-o")) {
        std::ofstream out(*file, std::ios::binary | std::ios::app);
        out << record << std::flush;
    }
}

void recordStdin() {
    const int first = std::cin.get();
    std::ofstream("generator-stdin.txt") << (first == EOF ? "eof" : "data");
}

// Runs one command; returns false when the line is not understood.
bool runCommand(const std::string& line) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    std::string rest;
    std::getline(in >> std::ws, rest);
    std::istringstream words(rest);
    if (command.empty() || command[0] == '#') {
        return true;
    }
    if (command == "say") {
        std::cout << unescape(rest) << std::flush;
    } else if (command == "warn") {
        std::cerr << unescape(rest) << std::flush;
    } else if (command == "status") {
        std::string count;
        long interval = 1000;
        words >> count >> interval;
        const bool endless = count == "forever";
        const long refreshes = endless ? 0 : std::atol(count.c_str());
        for (long i = 0; endless || i < refreshes; ++i) {
            printStatus(i);
            pause(interval);
        }
    } else if (command == "found") {
        std::string pattern, address, key;
        words >> pattern >> address >> key;
        recordFound(pattern, address, key);
    } else if (command == "fail") {
        std::cerr << (rest.empty() ? "Could not open OpenCL device: error -1001 (no platform)"
                                   : unescape(rest))
                  << "\n"
                  << std::flush;
        std::exit(1);
    } else if (command == "listing") {
        printListing();
    } else if (command == "sleep") {
        long ms = 0;
        words >> ms;
        pause(ms);
    } else if (command == "stdin") {
        recordStdin();
    } else if (command == "forever") {
        forever();
    } else if (command == "exit") {
        int code = 0;
        words >> code;
        std::cout << std::flush;
        std::exit(code);
    } else {
        return false;
    }
    return true;
}

void recordStart() {
    std::ofstream args("generator-args.txt", std::ios::binary | std::ios::trunc);
    for (const std::string& a : arguments) {
        args << a << "\n";
    }
    std::ofstream("generator-pid.txt") << TEST_GENERATOR_PID << "\n";
}

} // namespace

int main(int argc, char** argv) {
    arguments.assign(argv, argv + argc);
    recordStart();

    const char* named = std::getenv("TARWICK_TEST_GENERATOR_SCRIPT");
    std::ifstream script(named && *named ? named : "generator-script.txt", std::ios::binary);
    if (!script) {
        if (optionValue("-D") == "99:99") {
            printListing();
            return 1;
        }
        runCommand("status forever 1000");
        return 0;
    }
    std::string line;
    while (std::getline(script, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!runCommand(line)) {
            std::cerr << "test generator: error in script line: " << line << "\n";
            return 2;
        }
    }
    std::cout << std::flush;
    return 0;
}
