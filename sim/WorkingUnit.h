#pragma once
// A turning unit at work, for the stand-alone simulator: it swivels between
// -45 and +45 degrees, holds in each end position, and its counters, angle
// lists, cycle-time histogram and flags follow what it does.

#include <chrono>
#include <cstdint>
#include <deque>
#include <random>
#include <vector>

#include "UnitSim.h"

class TWorkingUnit {
public:
    explicit TWorkingUnit(std::uint32_t seed = 1);

    // Moves the unit's clock forward.
    void Advance(std::chrono::milliseconds elapsed);
    // What the unit answers at this moment.
    TUnitData Data() const;

    static constexpr int kEndPosition = 450;  // tenths of a degree, either side of 0
    static constexpr std::chrono::milliseconds kMoveTime {1200};
    static constexpr std::chrono::milliseconds kHoldTime {1800};

private:
    void FinishMove();

    std::minstd_rand random_;
    std::chrono::milliseconds phase_ {0};  // time into the current move and hold
    bool forward_ = true;                  // direction of the current move
    int angle_ = -kEndPosition;            // tenths of a degree
    int moveFrom_ = -kEndPosition;

    // History, newest last.
    std::deque<int> stopFrw_, brakeFrw_, stopBkw_, brakeBkw_;
    std::vector<int> cycleSlots_;
    double cycles_ = 0, overrunFrw_ = 0, overrunBkw_ = 0, aborted_ = 0;
    int lastStop_ = 0, lastCycleTenthMs_ = 0;
    bool overrunSeen_ = false;
};
