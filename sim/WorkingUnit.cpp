#include "WorkingUnit.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr std::size_t kListLength = 50;
constexpr std::size_t kCycleSlots = 86;
constexpr double kPi = 3.14159265358979323846;

void Push(std::deque<int>& list, int value) {
    list.push_back(value);
    if (list.size() > kListLength) list.pop_front();
}

std::string Flag(bool on) { return on ? "1" : "0"; }

std::vector<std::string> Texts(const std::deque<int>& list) {
    std::vector<std::string> lines;
    for (int v : list) lines.push_back(std::to_string(v));
    return lines;
}

// Some firmware writes decimal commas; the program reads both.
std::string WithComma(double value) {
    std::string text = std::to_string(static_cast<long>(std::lround(value * 10)));
    const bool negative = text[0] == '-';
    if (negative) text.erase(0, 1);
    if (text.size() < 2) text.insert(0, "0");
    text.insert(text.size() - 1, ",");
    return negative ? "-" + text : text;
}

}  // namespace

TWorkingUnit::TWorkingUnit(std::uint32_t seed) : random_(seed), cycleSlots_(kCycleSlots, 0) {
    // A unit that has been working for a while: full lists from the start.
    for (std::size_t i = 0; i < kListLength * 2; ++i) FinishMove();
    moveFrom_ = angle_;
}

void TWorkingUnit::FinishMove() {
    std::uniform_int_distribution<int> deviation(-18, 14);
    std::uniform_int_distribution<int> brake(70, 140);
    std::uniform_int_distribution<int> cycle(9000, 13000);  // tenths of a millisecond
    const int stop = deviation(random_);
    const int brakeAngle = brake(random_);
    Push(forward_ ? stopFrw_ : stopBkw_, stop);
    Push(forward_ ? brakeFrw_ : brakeBkw_, brakeAngle);
    lastStop_ = stop;
    lastCycleTenthMs_ = cycle(random_);
    // Slot i counts the cycles of 0.1 s * i up to the next slot.
    const std::size_t slot = std::min<std::size_t>(kCycleSlots - 1, static_cast<std::size_t>(lastCycleTenthMs_ / 1000));
    ++cycleSlots_[slot];
    cycles_ += 1;
    if (stop > 12) {
        (forward_ ? overrunFrw_ : overrunBkw_) += 1;
        overrunSeen_ = true;
    }
    if (static_cast<long>(cycles_) % 97 == 0) aborted_ += 1;
    angle_ = (forward_ ? kEndPosition : -kEndPosition) + stop;
    forward_ = !forward_;
}

void TWorkingUnit::Advance(std::chrono::milliseconds elapsed) {
    const auto cycle = kMoveTime + kHoldTime;
    while (elapsed.count() > 0) {
        const bool moving = phase_ < kMoveTime;
        const auto step = std::min(elapsed, (moving ? kMoveTime : cycle) - phase_);
        phase_ += step;
        elapsed -= step;
        if (moving && phase_ == kMoveTime) FinishMove();
        if (phase_ == cycle) {
            phase_ = std::chrono::milliseconds(0);
            moveFrom_ = angle_;
        }
    }
    if (phase_ < kMoveTime) {
        // Smooth start and stop, as a pneumatic drive with end cushions.
        const double f = static_cast<double>(phase_.count()) / static_cast<double>(kMoveTime.count());
        const int to = forward_ ? kEndPosition : -kEndPosition;
        angle_ = static_cast<int>(std::lround(moveFrom_ + (to - moveFrom_) * (1 - std::cos(f * kPi)) / 2));
    }
}

TUnitData TWorkingUnit::Data() const {
    const bool moving = phase_ < kMoveTime;
    const bool atFrw = !moving && angle_ > 0;
    TUnitData d;
    d.CheckReply = "COM_OK";
    d.Firmware = "TU-200 V2.14";
    d.Angle = std::to_string(angle_);
    d.Lists[0] = MakeListReply(Texts(stopFrw_));
    d.Lists[1] = MakeListReply(Texts(brakeFrw_));
    d.Lists[2] = MakeListReply(Texts(stopBkw_));
    d.Lists[3] = MakeListReply(Texts(brakeBkw_));
    std::vector<std::string> slots;
    for (int n : cycleSlots_) slots.push_back(std::to_string(n));
    d.Lists[4] = MakeListReply(slots);
    // Outputs: frw start, bkw start, common fault, lock angle reserve, in
    // position, overrun frw, overrun bkw, pos frw, pos bkw, inside lock angle.
    d.Lists[5] = MakeListReply({Flag(moving && forward_), Flag(moving && !forward_), "0", "1", Flag(!moving),
                                Flag(overrunSeen_ && overrunFrw_ > 0), "0", Flag(atFrw), Flag(!moving && !atFrw),
                                Flag(!moving)});
    std::vector<std::string> errors(16, "0");
    errors[4] = Flag(overrunFrw_ > 0);
    errors[7] = "1";  // lock angle reserve used up
    d.Lists[6] = MakeListReply(errors);
    d.Lists[7] = MakeListReply({Flag(moving && forward_), Flag(moving && !forward_), "0", "0", "1", "0"});
    const int state = moving ? (forward_ ? 9 : 10) : 5;
    d.Lists[8] = MakeListReply({WithComma(57.5), std::to_string(lastStop_), std::to_string(brakeFrw_.back()),
                                std::to_string(brakeBkw_.back()), std::to_string(state), "1"});
    d.Lists[9] = MakeListReply({std::to_string(static_cast<long>(cycles_)), std::to_string(static_cast<long>(overrunFrw_)),
                                std::to_string(static_cast<long>(overrunBkw_)), std::to_string(static_cast<long>(aborted_)),
                                WithComma(lastCycleTenthMs_)});
    return d;
}
