#include "data/DecodeListReply.h"

#include <array>
#include <exception>
#include <string_view>

#include "common/CommaToPoint.h"
#include "common/GeneralNumberText.h"
#include "common/Numbers.h"
#include "data/CodeTables.h"
#include "data/TForm2.h"
#include "data/TForm3.h"

namespace {

constexpr std::array<int, 10> kLineCounts = {50, 50, 50, 50, 86, 10, 16, 6, 6, 5};

// Walks the lines of a reply: any run of CR and LF separates two lines, so
// empty lines never count as values.
class TLineWalk {
public:
    explicit TLineWalk(const char* text) : p_(text) {}

    bool Next(std::string_view& line)
    {
        while (*p_ == '\r' || *p_ == '\n')
            ++p_;
        if (*p_ == '\0')
            return false;
        const char* start = p_;
        while (*p_ != '\0' && *p_ != '\r' && *p_ != '\n')
            ++p_;
        line = std::string_view(start, std::size_t(p_ - start));
        return true;
    }

private:
    const char* p_;
};

QString Fixed(double value, int decimals, int width = 0)
{
    return QString::fromStdString(FormatFixed(value, decimals, width));
}

void SetLamp(TShape* lamp, std::int32_t flag, TColor lit) { lamp->SetBrushColor(flag == 1 ? lit : clSilver); }

void WriteAngle(unsigned kind, int p, double number)
{
    TPointSeries* series = nullptr;
    int column = 0;
    switch (kind) {
    case ListStopAnglesFrw: series = Form3->StopFrw; column = 2; break;
    case ListBrakeAnglesFrw: series = Form3->BrakeFrw; column = 3; break;
    case ListStopAnglesBkw: series = Form3->StopBkw; column = 1; break;
    default: series = Form3->BrakeBkw; column = 0; break;
    }
    const double v = number * 0.1;
    series->SetYValue(p, v);
    Form3->ListView1->SetSubItem(p, column, Fixed(v, 1, 5));
}

void WriteOutput(int p, std::int32_t flag)
{
    TForm2& f = *Form2;
    const std::array<TShape*, 10> lamps = {f.shpOutFrwStart,   f.shpOutBkwStart,   f.shpOutCommonFault, f.shpOutWLockAngleRes,
                                           f.shpOutInPosition, f.shpOutOverrunFrw, f.shpOutOverrunBkw,  f.shpOutPosFrw,
                                           f.shpOutPosBkw,     f.shpOutInsideLockAngle};
    const bool fault = p == 2 || p == 3 || p == 5 || p == 6;
    SetLamp(lamps.at(std::size_t(p)), flag, fault ? clRed : clYellow);
}

void WriteError(int p, std::int32_t flag)
{
    TForm2& f = *Form2;
    // Position 14 carries nothing the windows show.
    const std::array<TShape*, 16> lamps = {
        f.shpErrCommonFault,   f.shpErrSensor,        f.shpErrWrongDirFrw,   f.shpErrWrongDirBkw,
        f.shpErrOverrunFrw,    f.shpErrOverrunBkw,    f.shpErrSC,            f.shpErrLockAngleReserve,
        f.shpErrLockAngleEnd,  f.shpErrStartup,       f.shpErrWrgStartAngle, f.shpErrWrgRotMode,
        f.shpErrWrgRotDir,     f.shpErrWrgLockAngle,  nullptr,               f.shpErrBothInputsOn};
    if (TShape* lamp = lamps.at(std::size_t(p)))
        SetLamp(lamp, flag, clRed);
}

void WriteInput(int p, std::int32_t flag)
{
    TForm2& f = *Form2;
    if (p == 4) {
        f.edtTurnDirection->SetText(flag == 1 ? QStringLiteral("right") : QStringLiteral("left"));
        return;
    }
    const std::array<TShape*, 6> lamps = {f.shpInFrwOn,      f.shpInBkwOn, f.shpInMovSlowly,
                                          f.shpInFrwThrough, nullptr,      f.shpInTurnTwoTimes};
    SetLamp(lamps.at(std::size_t(p)), flag, clYellow);
}

void WriteControl(int p, double number)
{
    TForm2& f = *Form2;
    switch (p) {
    case 0: f.edtLockAngle->SetText(Fixed(number * 0.2, 1)); break;
    case 1: f.edtLastStopAngle->SetText(Fixed(number * 0.1, 1)); break;
    case 2: f.edtBrakeAngleFrw->SetText(Fixed(number * 0.1, 1)); break;
    case 3: f.edtBrakeAngleBkw->SetText(Fixed(number * 0.1, 1)); break;
    case 4: {
        const std::int32_t code = TruncToInt32(number);
        f.shpErrSecureState->SetBrushColor(code == SecureStateCode ? clRed : clSilver);
        f.edtState->SetText(StateCodeText(code));
        break;
    }
    default: {
        const TFunctionCode entry = FunctionCodeEntry(TruncToInt32(number));
        f.edtFunction->SetText(entry.Text);
        f.edtFunction->SetColor(entry.Color);
        break;
    }
    }
}

void WriteDiagnosis(int p, double number)
{
    TForm2& f = *Form2;
    // The counters keep any fraction the unit sends; only the cycle time is scaled.
    switch (p) {
    case 0: f.edtCntCycles->SetText(GeneralNumberText(number)); break;
    case 1: f.edtCntOverrunFrw->SetText(GeneralNumberText(number)); break;
    case 2: f.edtCntOverrunBkw->SetText(GeneralNumberText(number)); break;
    case 3: f.edtCntAborted->SetText(GeneralNumberText(number)); break;
    default: f.edtTmeCycle->SetText(Fixed(number * 0.0001, 3)); break;
    }
}

void WriteField(unsigned kind, int p, double number)
{
    switch (kind) {
    case ListStopAnglesFrw:
    case ListBrakeAnglesFrw:
    case ListStopAnglesBkw:
    case ListBrakeAnglesBkw: WriteAngle(kind, p, number); break;
    case ListCycleTimes: Form3->ListView2->SetSubItem(p, 0, QString::fromStdString(FormatInt(TruncToInt32(number), 6))); break;
    case ListOutputs: WriteOutput(p, TruncToInt32(number)); break;
    case ListErrors: WriteError(p, TruncToInt32(number)); break;
    case ListInputs: WriteInput(p, TruncToInt32(number)); break;
    case ListControl: WriteControl(p, number); break;
    default: WriteDiagnosis(p, number); break;
    }
}

}  // namespace

int ListLineCount(unsigned kind)
{
    if (kind < 1 || kind > kLineCounts.size())
        return 0;
    return kLineCounts[kind - 1];
}

bool DecodeListReply(char* reply, unsigned kind)
{
    CommaToPoint(reply);
    const int lines = ListLineCount(kind);
    if (lines == 0)
        return true;
    if (!reply || !Form2 || !Form3)
        return false;

    TLineWalk walk(reply);
    try {
        for (int p = 0; p < lines; ++p) {
            std::string_view line;
            if (!walk.Next(line))
                return false;
            WriteField(kind, p, ReadNumber(line));
        }
    } catch (const std::exception&) {
        // A view refused a write; what was written before stays.
        return false;
    }
    return true;
}
