#pragma once

// Runs a generator program as the front-end runs it (in its own folder, no input, one output
// file) and checks every key it reports with libsecp256k1 and OpenSSL.

#include "EcReference.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tarwick::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A new user-only folder, removed with its contents at the end of the scope.
struct TempFolder {
    std::string name = (fs::temp_directory_path() / "tarwick_XXXXXX").string();
    fs::path path = ::mkdtemp(name.data());
    ~TempFolder() { fs::remove_all(path); }
};

inline std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct RunOptions {
    std::vector<std::string> environment{};                 // ahead of this process's own
    std::chrono::milliseconds stopAfter{120s};              // SIGTERM then, if still running
    std::function<bool(const std::string& out)> stopWhen{}; // SIGTERM once it holds
};

// The exit code (minus the signal that ended it) and the console output, as the front-end logs it.
struct ProgramRun {
    int status = 0;
    std::string out;
};

// Also checks that a program holding keys allows no core dump from its first output on, when
// it would inherit a limit that allows them.
inline ProgramRun runProgram(std::vector<std::string> args, const fs::path& dir,
                             const RunOptions& o = {}) {
    rlimit core{};
    ::getrlimit(RLIMIT_CORE, &core);
    core.rlim_cur = core.rlim_max;
    ::setrlimit(RLIMIT_CORE, &core);
    std::vector<std::string> env = o.environment;
    for (char** e = environ; *e != nullptr; ++e) {
        env.emplace_back(*e);
    }
    const auto pointers = [](std::vector<std::string>& texts) {
        std::vector<char*> p(texts.size() + 1); // ends with nullptr
        std::ranges::transform(texts, p.begin(), [](std::string& t) { return t.data(); });
        return p;
    };
    const auto argv = pointers(args);
    const auto envp = pointers(env);
    const fs::path out = dir / "output.log";
    const pid_t pid = ::fork();
    if (pid == 0) { // only async-signal-safe calls until the program runs
        const int log = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int none = ::open("/dev/null", O_RDONLY);
        if (::chdir(dir.c_str()) == 0 && ::dup2(none, 0) == 0 && ::dup2(log, 1) == 1 &&
            ::dup2(log, 2) == 2) {
            ::execve(argv[0], argv.data(), envp.data());
        }
        ::_exit(127);
    }
    const auto now = [] { return std::chrono::steady_clock::now(); };
    const auto stopAt = now() + o.stopAfter;
    int status = 0;
    std::string coreLimit;
    while (::waitpid(pid, &status, WNOHANG) != pid) {
        const std::string sofar = readAll(out);
        static const std::regex limit("Max core file size +(\\S+) +(\\S+)");
        // "soft hard" of its core-file limit, read once it has printed
        const std::string limits = coreLimit.empty() && !sofar.empty()
                                       ? readAll("/proc/" + std::to_string(pid) + "/limits")
                                       : "";
        if (std::smatch m; std::regex_search(limits, m, limit)) {
            coreLimit = m.str(1) + " " + m.str(2);
        }
        if (now() < stopAt && !(o.stopWhen && o.stopWhen(sofar))) {
            std::this_thread::sleep_for(20ms);
            continue;
        }
        // Its threads stop within about a second; a stuck pool request may take longer.
        ::kill(pid, SIGTERM);
        for (const auto killAt = now() + 10s; ::waitpid(pid, &status, WNOHANG) != pid;
             std::this_thread::sleep_for(20ms)) {
            if (now() > killAt) {
                ::kill(pid, SIGKILL);
            }
        }
        break;
    }
    EXPECT_TRUE(core.rlim_max == 0 || coreLimit.empty() || coreLimit == "0 0") << coreLimit;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status), readAll(out)};
}

// Whole records in a text, taken the way the front-end takes them (a status refresh may share
// the line before its last \r).
inline std::vector<std::array<std::string, 3>> records(const std::string& text) {
    static const std::regex record("(?:^|[\r\n])Pattern: ([^\r\n]*)\nAddress: ([^\r\n]*)\n"
                                   "Privkey: ([^\r\n]*)(?=\n)");
    std::vector<std::array<std::string, 3>> out; // pattern, address, key
    for (std::sregex_iterator m(text.begin(), text.end(), record), end; m != end; ++m) {
        out.push_back({(*m)[1], (*m)[2], (*m)[3]});
    }
    return out;
}

struct ProgramCase {
    std::vector<std::string> args;
    int status; // as ProgramRun has it
    const char* says;
    int found; // records printed (the results file's when stopped); negative: at least that many
    const char* name;
    std::string patterns = {}; // written to patterns.txt first, when not empty
    RunOptions options = {};
};

// Runs one case and checks every key reported on the console and in results.txt: the
// references derive its address, its WIF has the asked format, the address starts with its
// pattern, and no two keys of the run are closely related.
inline void checkProgram(const std::string& program, const ProgramCase& c) {
    SCOPED_TRACE(c.name);
    const TempFolder dir;
    if (!c.patterns.empty()) {
        std::ofstream(dir.path / "patterns.txt", std::ios::binary) << c.patterns;
    }
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), program);
    const ProgramRun r = runProgram(args, dir.path, c.options);
    EXPECT_EQ(r.status, c.status) << r.out;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
    const fs::path results = dir.path / "results.txt";
    const std::string file = readAll(results);
    const auto found = records(r.status < 0 ? file : r.out);
    EXPECT_TRUE(c.found < 0 ? found.size() >= std::size_t(-c.found)
                            : found.size() == std::size_t(c.found))
        << r.out;
    const auto has = [&](const char* arg) { return std::ranges::count(c.args, arg) > 0; };
    const auto same = [&](char a, char b) {
        return has("-i") ? std::tolower(a) == std::tolower(b) : a == b;
    };
    std::string whole;
    std::vector<Key> keys;
    for (const auto& [pattern, address, privkey] : found) {
        whole += "Pattern: " + pattern + "\nAddress: " + address + "\nPrivkey: " + privkey + "\n";
        EXPECT_EQ(referenceAddressMismatch(privkey, address, !has("uncompressed")), "");
        EXPECT_TRUE(std::ranges::equal(address.substr(0, pattern.size()), pattern, same))
            << address;
        if (const auto key = referenceKeyOfWif(privkey)) {
            keys.push_back(*key);
        }
    }
    EXPECT_EQ(closelyRelatedKeys(keys), "");
    const auto others = fs::perms::group_all | fs::perms::others_all;
    EXPECT_TRUE(!fs::exists(results) ||
                (fs::status(results).permissions() & others) == fs::perms::none);
    EXPECT_TRUE(!fs::exists(results) || file == whole) << file; // the records printed, whole
}

} // namespace tarwick::test
