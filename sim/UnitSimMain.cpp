// quadrelix-unit-sim: a turning unit at work on a pseudo-terminal, published
// as a COM port in the port-links directory, until SIGINT or SIGTERM.

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include "UnitSim.h"
#include "WorkingUnit.h"
#include "link/PortMap.h"

namespace {

constexpr int kPortCount = 16;

void Usage() {
    std::fprintf(stderr,
                 "usage: quadrelix-unit-sim [--port N] [--links DIR] [--paced]\n"
                 "  --port N     publish as COMN (1..16); default: the first free number\n"
                 "  --links DIR  port-links directory; default: %s\n"
                 "  --paced      send at the speed of 9600 baud\n",
                 DefaultPortLinksDir().c_str());
}

// Creates the missing directories of path, each for this user alone.
bool MakeDirs(const std::string& path) {
    for (std::size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/') continue;
        const std::string part = path.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            std::fprintf(stderr, "quadrelix-unit-sim: cannot create %s: %s\n", part.c_str(), std::strerror(errno));
            return false;
        }
    }
    return true;
}

// A link whose device has gone, left by a simulator that was killed.
bool IsStaleLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0;
}

std::optional<std::string> Publish(TUnitSim& sim, const std::string& dir, int first, int last) {
    for (int n = first; n <= last; ++n) {
        const std::string name = "COM" + std::to_string(n);
        if (IsStaleLink(dir + "/" + name)) ::unlink((dir + "/" + name).c_str());
        try {
            sim.PublishAs(dir, name);
            return name;
        } catch (const std::system_error& e) {
            if (e.code().value() != EEXIST) {
                std::fprintf(stderr, "quadrelix-unit-sim: cannot publish %s: %s\n", name.c_str(), e.what());
                return std::nullopt;
            }
        }
    }
    if (first == last) {
        std::fprintf(stderr, "quadrelix-unit-sim: COM%d is taken in %s\n", first, dir.c_str());
    } else {
        std::fprintf(stderr, "quadrelix-unit-sim: all of COM1 to COM%d are taken in %s\n", kPortCount, dir.c_str());
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    int port = 0;
    std::string dir;
    bool paced = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc) {
            char* end = nullptr;
            const long n = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || n < 1 || n > kPortCount) {
                Usage();
                return 2;
            }
            port = static_cast<int>(n);
        } else if (arg == "--links" && i + 1 < argc) {
            dir = argv[++i];
        } else if (arg == "--paced") {
            paced = true;
        } else {
            Usage();
            return arg == "--help" || arg == "-h" ? 0 : 2;
        }
    }
    if (dir.empty()) dir = DefaultPortLinksDir();
    if (!MakeDirs(dir)) return 1;
    if (!IsTrustedLinksDir(dir)) {
        std::fprintf(stderr,
                     "quadrelix-unit-sim: %s must be a directory of yours that nobody else can write to;"
                     " Quadrelix ignores it otherwise\n",
                     dir.c_str());
        return 1;
    }

    // The signals are taken by sigtimedwait below, in every thread blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        TWorkingUnit unit;
        TUnitSim sim(unit.Data());
        sim.SetPaced(paced);
        const std::optional<std::string> name = port ? Publish(sim, dir, port, port) : Publish(sim, dir, 1, kPortCount);
        if (!name) return 1;
        std::printf("%s\n", name->c_str());
        std::fflush(stdout);
        std::fprintf(stderr, "quadrelix-unit-sim: turning unit on %s (%s); Ctrl-C ends it\n", name->c_str(),
                     sim.SlavePath().c_str());

        using Clock = std::chrono::steady_clock;
        auto last = Clock::now();
        const timespec tick {0, 50'000'000};
        for (;;) {
            const int sig = sigtimedwait(&stopSignals, nullptr, &tick);
            if (sig > 0) break;
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - last);
            unit.Advance(elapsed);
            last += elapsed;
            sim.SetData(unit.Data());
            if (sim.HungUp()) break;
        }
        // The simulator's destructor removes the link.
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quadrelix-unit-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
