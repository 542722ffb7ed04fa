#include "files/DataFileLayout.h"

namespace {

using K = TStateLineKind;

constexpr TStateLine Text(const char* label, TEdit* TForm2::*edit, bool commaToPoint = false)
{
    return TStateLine{label, K::Text, edit, nullptr, commaToPoint, clSilver};
}

constexpr TStateLine Flag(const char* label, TShape* TForm2::*lamp, TColor lit)
{
    return TStateLine{label, K::Flag, nullptr, lamp, false, lit};
}

// Lit colours are those an upload gives the same lamps.
constexpr std::array<TStateLine, StateLineCount> kStateLines = {{
    {"Firmware Revision:", K::FirmwareRevision, &TForm2::edtFirmwareRev, nullptr, false, clSilver},
    Text("Function:", &TForm2::edtFunction),
    Text("Current State:", &TForm2::edtState),
    {"Current Angle:", K::CurrentAngle, nullptr, nullptr, true, clSilver},
    Text("Lock Angle:", &TForm2::edtLockAngle, true),
    Text("Last Cycle Time:", &TForm2::edtTmeCycle, true),
    Text("Number of Cycles:", &TForm2::edtCntCycles),
    Text("Number of Overruns forward:", &TForm2::edtCntOverrunFrw),
    Text("Number of Overruns backward:", &TForm2::edtCntOverrunBkw),
    Text("Number of Abortions:", &TForm2::edtCntAborted),
    Text("Last Stop Angle:", &TForm2::edtLastStopAngle, true),
    Text("Last Brake Angle forward:", &TForm2::edtBrakeAngleFrw, true),
    Text("Last Brake Angle backward:", &TForm2::edtBrakeAngleBkw, true),
    Flag("Error Common Fault:", &TForm2::shpErrCommonFault, clRed),
    Flag("Secure State:", &TForm2::shpErrSecureState, clRed),
    Flag("Sensor Defect:", &TForm2::shpErrSensor, clRed),
    Flag("Error Overrun forward:", &TForm2::shpErrOverrunFrw, clRed),
    Flag("Error Overrun backward:", &TForm2::shpErrOverrunBkw, clRed),
    Flag("wrong Direction forward:", &TForm2::shpErrWrongDirFrw, clRed),
    Flag("wrong Direction backward:", &TForm2::shpErrWrongDirBkw, clRed),
    Flag("Short Circuit at Output:", &TForm2::shpErrSC, clRed),
    Flag("Error Lock Angle Reserve:", &TForm2::shpErrLockAngleReserve, clRed),
    Flag("End of Lock Angle Reserve:", &TForm2::shpErrLockAngleEnd, clRed),
    Flag("Start Up:", &TForm2::shpErrStartup, clRed),
    Flag("Changed Sensor Position:", &TForm2::shpErrWrgStartAngle, clRed),
    Flag("Changed Rotary Mode:", &TForm2::shpErrWrgRotMode, clRed),
    Flag("Changed Rotary Direction:", &TForm2::shpErrWrgRotDir, clRed),
    Flag("Changed Lock Angle:", &TForm2::shpErrWrgLockAngle, clRed),
    Flag("Both Inputs On:", &TForm2::shpErrBothInputsOn, clRed),
    Flag("Forward On:", &TForm2::shpInFrwOn, clYellow),
    Flag("Backward On:", &TForm2::shpInBkwOn, clYellow),
    Flag("Moving Slowly:", &TForm2::shpInMovSlowly, clYellow),
    Flag("Forward Through:", &TForm2::shpInFrwThrough, clYellow),
    Flag("Turn 2x Times:", &TForm2::shpInTurnTwoTimes, clYellow),
    Text("Turn Direction:", &TForm2::edtTurnDirection),
    Flag("Forward Start:", &TForm2::shpOutFrwStart, clYellow),
    Flag("Backward Start:", &TForm2::shpOutBkwStart, clYellow),
    Flag("Output Common Fault:", &TForm2::shpOutCommonFault, clRed),
    Flag("Output Warning Lock Angle Reserve:", &TForm2::shpOutWLockAngleRes, clRed),
    Flag("In Position:", &TForm2::shpOutInPosition, clYellow),
    Flag("Output Overrun forward:", &TForm2::shpOutOverrunFrw, clRed),
    Flag("Output Overrun backward:", &TForm2::shpOutOverrunBkw, clRed),
    Flag("In Position forward:", &TForm2::shpOutPosFrw, clYellow),
    Flag("In Position backward:", &TForm2::shpOutPosBkw, clYellow),
    Flag("Target inside Lock Angle:", &TForm2::shpOutInsideLockAngle, clYellow),
}};

}  // namespace

const std::array<TStateLine, StateLineCount>& StateLines() { return kStateLines; }
