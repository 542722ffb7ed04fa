#include "common/CommaToPoint.h"

void CommaToPoint(char* text)
{
    if (!text)
        return;
    for (char* p = text; *p; ++p)
        if (*p == ',')
            *p = '.';
}

void CommaToPoint(std::string& text)
{
    for (char& c : text)
        if (c == ',')
            c = '.';
}
