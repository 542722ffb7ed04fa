#pragma once
// The windows' fonts: a narrow sans serif, sized in pixels as the layout
// was drawn for, so that captions fit beside their boxes and lamps.

#include <QFont>

QFont FormFont(int pixelSize, bool bold = false);
