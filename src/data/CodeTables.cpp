#include "data/CodeTables.h"

#include <array>

QString StateCodeText(int code)
{
    // Code 1 has no text, and 13 reads as 10: that is what the unit's
    // documentation gives for them.
    static const std::array<const char*, 18> texts = {
        "Init",
        "",
        "Moving aborted",
        "Moving stopped",
        "Moving manual",
        "In Position",
        "In Position stopped",
        "Overrun forward",
        "Overrun backward",
        "Moving forward",
        "Moving backward",
        "Braking forward",
        "Braking backward",
        "Moving backward",
        "Wrong Dir. forw.",
        "Wrong Dir. backw.",
        "Secure State",
        "Both Inputs On",
    };
    if (code < 0 || code >= int(texts.size()))
        return QString();
    return QString::fromLatin1(texts[std::size_t(code)]);
}

TFunctionCode FunctionCodeEntry(int code)
{
    switch (code) {
    case 0:
        return {QStringLiteral("Standard 1 Turn Reverse"), clWhite};
    case 1:
        return {QStringLiteral("Standard 1 Turn Forward"), clWhite};
    case 2:
        return {QStringLiteral("Special 1/2 Turn Reverse"), clYellow};
    default:
        return {QStringLiteral("undefined"), clRed};
    }
}
