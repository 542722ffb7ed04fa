#pragma once
// The labelled lines of the data file's State block (lines 9 to 53): one table
// that both the export and the import follow, so the two cannot drift apart.

#include <array>

#include "common/Colors.h"
#include "data/TForm2.h"

enum class TStateLineKind {
    Text,              // the text of an edit box
    FirmwareRevision,  // an edit box text, written behind one apostrophe
    CurrentAngle,      // the main window's current angle text
    Flag,              // "yes" or "no" for a lamp
};

struct TStateLine {
    const char* Label;  // with its closing ":"
    TStateLineKind Kind;
    TEdit* TForm2::*Edit = nullptr;   // Text, FirmwareRevision
    TShape* TForm2::*Lamp = nullptr;  // Flag
    bool CommaToPoint = false;        // written with "." for any ","
    TColor LitColor = clSilver;       // Flag: the colour a loaded "yes" lights
};

inline constexpr int StateLineCount = 45;

// In the order of the file.
const std::array<TStateLine, StateLineCount>& StateLines();
