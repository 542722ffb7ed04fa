// How long one connection check and one list exchange take against the
// simulated unit, beside the lower bound that the protocol's waits impose,
// and how much CPU the program's thread spends meanwhile (it must sleep, not
// spin). Run: bench_exchange [repetitions]

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "BenchRig.h"
#include "link/Exchange.h"

namespace {

double ThreadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct Figures {
    double wall = 0, cpu = 0;
};

template <typename F>
Figures Measure(int repetitions, F&& run)
{
    Figures total;
    for (int i = 0; i < repetitions; ++i) {
        const double w0 = WallMs(), c0 = ThreadCpuMs();
        run();
        total.wall += WallMs() - w0;
        total.cpu += ThreadCpuMs() - c0;
    }
    total.wall /= repetitions;
    total.cpu /= repetitions;
    return total;
}

void Report(const char* what, const Figures& f, double bound)
{
    std::printf("%-32s wall %8.1f ms   lower bound %6.1f ms   overhead %6.1f ms   CPU %6.2f ms (%.1f%% of wall)\n",
                what, f.wall, bound, f.wall - bound, f.cpu, 100.0 * f.cpu / f.wall);
}

}  // namespace

int main(int argc, char** argv)
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);

    char dir[] = "/tmp/qx-bench-XXXXXX";
    if (!mkdtemp(dir))
        return 1;
    TPortRoots roots;
    roots.Dev = std::string(dir) + "/dev";
    roots.Sys = std::string(dir) + "/sys";
    roots.Links = std::string(dir) + "/links";
    for (const std::string& d : {roots.Dev, roots.Sys, roots.Links})
        mkdir(d.c_str(), 0700);

    int status = 0;
    {
        TUnitSim unit;
        unit.PublishAs(roots.Links, "COM1");
        CreateForms(std::make_shared<TPortMap>(roots));
        if (Form1->SelectedPort != "COM1" || !OpenSelectedPort(*Form1)) {
            std::fprintf(stderr, "the simulated unit was not found\n");
            status = 1;
        } else {
            Form1->CommPort->ClosePort();
            for (bool paced : {false, true}) {
                unit.SetPaced(paced);
                std::printf("%s\n", paced ? "paced at 9600 baud 8E1:" : "unpaced:");
                // 11 bytes with a 4 ms wait each, then the 50 ms pause.
                const Figures check = Measure(repetitions, [] {
                    OpenSelectedPort(*Form1);
                    CheckConnection(*Form1);
                    Form1->CommPort->ClosePort();
                });
                // The connection check alone, without the open and its 250 ms.
                OpenSelectedPort(*Form1);
                const Figures checkOnly = Measure(repetitions, [] { CheckConnection(*Form1); });
                // 21 bytes with 4 ms each, 600 ms pause, and the 50 ms quiet
                // gap that ends the block read.
                static char buffer[ListReplySize];
                const Figures list = Measure(repetitions, [] {
                    std::strcpy(buffer, "lst_stop_angles_frw\r\n");
                    ExchangeListCommand(*Form1, buffer);
                });
                Form1->CommPort->ClosePort();
                Report("open + CheckConnection", check, 250 + 11 * 4 + 50);
                Report("CheckConnection", checkOnly, 11 * 4 + 50);
                Report("list exchange (50 lines)", list, 21 * 4 + 600 + 50);
            }
        }
    }
    return status;
}
