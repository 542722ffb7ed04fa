#pragma once
// The general number text of a value, written with the user's decimal separator.

#include <QString>

QString GeneralNumberText(double value);
