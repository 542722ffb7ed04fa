#pragma once
// Turns every decimal comma into a point in place, so that files and reports
// carry "." whatever the user's regional settings. The length never changes.

#include <string>

void CommaToPoint(char* text);
void CommaToPoint(std::string& text);
