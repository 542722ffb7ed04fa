#pragma once
// What every benchmark needs: a headless application, message boxes printed
// instead of shown, and the six windows built on temporary port roots with a
// simulated unit published as COM1.

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>

#include "UnitSim.h"
#include "app/Startup.h"
#include "app/TForm1.h"
#include "platform/Modal.h"

inline double WallMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

class TBenchRig {
public:
    TBenchRig()
    {
        InstallModal(std::make_unique<TPrintingModal>());
        char dir[] = "/tmp/qx-bench-XXXXXX";
        if (!mkdtemp(dir)) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        dir_ = dir;
        TPortRoots roots;
        roots.Dev = dir_ + "/dev";
        roots.Sys = dir_ + "/sys";
        roots.Links = dir_ + "/links";
        for (const std::string& d : {roots.Dev, roots.Sys, roots.Links})
            mkdir(d.c_str(), 0700);
        unit_ = std::make_unique<TUnitSim>();
        unit_->PublishAs(roots.Links, "COM1");
        CreateForms(std::make_shared<TPortMap>(roots));
    }
    ~TBenchRig()
    {
        DestroyForms();
        unit_.reset();
        std::filesystem::remove_all(dir_);
    }
    TBenchRig(const TBenchRig&) = delete;
    TBenchRig& operator=(const TBenchRig&) = delete;

    TUnitSim& Unit() { return *unit_; }
    // False (with a note on stderr) when the discovery did not find the unit.
    bool UnitFound() const
    {
        if (Form1->SelectedPort == "COM1")
            return true;
        std::fprintf(stderr, "the simulated unit was not found\n");
        return false;
    }

private:
    // A message box would stop the run; print it instead.
    class TPrintingModal final : public TModalSeam {
    public:
        void ShowMessage(QWidget*, const QString& text) override
        {
            std::fprintf(stderr, "message: %s\n", text.toLocal8Bit().constData());
        }
        bool ExecuteSave(QWidget*, TFileDialog&) override { return false; }
        bool ExecuteOpen(QWidget*, TFileDialog&) override { return false; }
        bool ExecutePrint(QWidget*, TPrintDialog&, QPrinter&) override { return false; }
        void ShowModal(QDialog&) override {}
    };

    std::string dir_;
    std::unique_ptr<TUnitSim> unit_;
};
