#pragma once
// The unit's state and function codes as the operator reads them.

#include <QString>

#include "common/Colors.h"

// The text of a state code; codes without a meaning give an empty text.
QString StateCodeText(int code);
// The state code that means the unit went into its secure state.
inline constexpr int SecureStateCode = 16;

struct TFunctionCode {
    QString Text;
    TColor Color;  // background of the Function box
};
// Codes the unit does not know read "undefined" on red.
TFunctionCode FunctionCodeEntry(int code);
