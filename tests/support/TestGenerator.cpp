// A stand-in for the Vanitygen programs in tests. It writes its arguments (one a line) to
// generator-args.txt and its process id to generator-pid.txt, then runs "generator-script.txt"
// from the working folder, one command a line ("#" starts a comment): "status N|forever MS"
// (status refreshes every MS ms), "found PATTERN ADDRESS PRIVKEY" (appends the record to the -o
// file and prints it), "listing" (the OpenCL platform listing, to standard error), "sleep MS",
// "forever" or "exit CODE".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> arguments;

std::string optionValue(const std::string& option) {
    const auto found = std::find(arguments.begin() + 1, arguments.end(), option);
    return found != arguments.end() && found + 1 != arguments.end() ? found[1] : std::string();
}

void pause(long milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Runs one command; false when the line is not understood.
bool runCommand(const std::string& line) {
    std::istringstream in(line);
    std::string command, first, second, third;
    in >> command >> first >> second >> third;
    const long number = std::atol(first.c_str());
    if (command == "status") {
        for (long i = 0; first == "forever" || i < number; ++i) {
            char status[128];
            std::snprintf(status, sizeof status,
                          "[%.2f Kkey/s][total %ld][Prob 0.0%%][50%% in 3901.0y]",
                          944.12 + static_cast<double>(i % 100), 713472L * (i + 1));
            std::cout << '\r' << std::string(status).append(79, ' ').substr(0, 79) << std::flush;
            pause(second.empty() ? 1000 : std::atol(second.c_str()));
        }
    } else if (command == "found") {
        const std::string record =
            "Pattern: " + first + "\nAddress: " + second + "\nPrivkey: " + third + "\n";
        std::cout << "\n" << record << std::flush;
        if (const std::string file = optionValue("-o"); !file.empty()) {
            std::ofstream(file, std::ios::binary | std::ios::app) << record << std::flush;
        }
    } else if (command == "listing") {
        std::cerr << "Difficulty: 77178\nCould not open device '99:99', ignoring\n"
                     "Available OpenCL platforms:\n0: [Tarwick test] Scripted platform\n"
                     "  0: [Tarwick test] Scripted device\n"
                  << std::flush;
    } else if (command == "sleep") {
        pause(number);
    } else if (command == "forever") {
        for (;;) {
            pause(1000);
        }
    } else if (command == "exit") {
        std::exit(static_cast<int>(number));
    } else {
        return command.empty() || command[0] == '#';
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    arguments.assign(argv, argv + argc);
    std::ofstream args("generator-args.txt", std::ios::binary | std::ios::trunc);
    for (const std::string& a : arguments) {
        args << a << "\n";
    }
    args.close();
    std::ofstream("generator-pid.txt") << getpid() << "\n";

    std::ifstream script("generator-script.txt", std::ios::binary);
    for (std::string line; std::getline(script, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!runCommand(line)) {
            std::cerr << "test generator: error in script line: " << line << "\n";
            return 2;
        }
    }
    return 0;
}
