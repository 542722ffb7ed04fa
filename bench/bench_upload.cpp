// The wall time of a full Data > Upload against the simulated unit beside the
// sum of the waits the protocol makes binding, and the number of live angle
// measurements per second while "Update Measurement" is ticked.
// Run: bench_upload [uploads] [measuring seconds]

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "BenchRig.h"
#include "link/TForm4.h"
#include "link/TForm6.h"

namespace {

// The waits of one upload that no implementation may shorten: the modem-line
// sequence of the open, the pause before the check, 4 ms after each command
// byte, 50 ms before each short reply, 600 ms before each list reply and the
// 50 ms of quiet that end its read, and the six 300 ms pauses.
double BindingWaitsMs()
{
    const char* shortCommands[] = {"com_check\r\n", "fw_rev\r\n"};
    const char* listCommands[] = {"lst_stop_angles_frw\r\n", "lst_brake_angles_frw\r\n", "lst_stop_angles_bkw\r\n",
                                  "lst_brake_angles_bkw\r\n", "lst_cycle_times\r\n", "lst_outputs\r\n",
                                  "lst_errors\r\n", "lst_inputs\r\n", "lst_control\r\n", "lst_diagnosis\r\n"};
    double ms = 50 + 200 + 300 + 6 * 300;
    for (const char* c : shortCommands)
        ms += 4.0 * double(std::strlen(c)) + 50;
    for (const char* c : listCommands)
        ms += 4.0 * double(std::strlen(c)) + 600 + 50;
    return ms;
}

void RunEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int AngleCommands(const TUnitSim& unit)
{
    const auto commands = unit.Commands();
    return int(std::count_if(commands.begin(), commands.end(), [](const TReceivedCommand& c) { return c.Text == "angle"; }));
}

}  // namespace

int main(int argc, char** argv)
{
    const int uploads = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);

    int status = 0;
    {
        TBenchRig rig;
        TUnitSim& unit = rig.Unit();
        if (!rig.UnitFound()) {
            status = 1;
        } else {
            const double bound = BindingWaitsMs();
            double best = 1e300, sum = 0;
            for (int i = 0; i < uploads; ++i) {
                const double start = WallMs();
                Form1->acDatenUploadExecute();
                const double wall = WallMs() - start;
                if (Form4->Label2->text() != QStringLiteral("Parameters uploaded successfully...")) {
                    std::fprintf(stderr, "upload %d ended with \"%s\"\n", i + 1,
                                 Form4->Label2->text().toLocal8Bit().constData());
                    status = 1;
                }
                best = std::min(best, wall);
                sum += wall;
            }
            std::printf("full upload (%d runs)      wall mean %8.1f ms  best %8.1f ms   binding waits %8.1f ms   "
                        "overhead of the best %6.1f ms\n",
                        uploads, sum / uploads, best, bound, best - bound);

            unit.ClearRecord();
            const double start = WallMs();
            Form6->CheckBox1->setChecked(true);
            RunEventsFor(seconds * 1000);
            Form6->CheckBox1->setChecked(false);
            const double wall = WallMs() - start;
            const int n = AngleCommands(unit);
            std::printf("live measurement           %d in %.1f s = %.2f per second (goal: at least 9.5)   shown: %s\n", n,
                        wall / 1000, n * 1000.0 / wall, Form6->Label1->text().toUtf8().constData());
        }
    }
    return status;
}
