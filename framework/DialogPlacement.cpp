// DialogPlacement.cpp: the position of a dialog without one of its own.
#include "framework/DialogPlacement.h"

namespace {

int Word(const unsigned char* p)
{
    return p[0] | (p[1] << 8);
}

}  // namespace

bool DialogTemplateGivesPosition(const unsigned char* data, size_t size)
{
    if (!data || size < 4)
        return false;
    // DLGTEMPLATEEX: version, signature, help id, extended style, style, item count, x, y.
    // DLGTEMPLATE: style, extended style, item count, x, y.
    const bool extended = Word(data) == 1 && Word(data + 2) == 0xFFFF;
    const size_t x = extended ? 18 : 10;
    if (size < x + 4)
        return false;
    return Word(data + x) != 0 || Word(data + x + 2) != 0;
}

int CentredStart(int size, int centreFrom, int centreTo, int areaFrom, int areaTo)
{
    int start = (centreFrom + centreTo) / 2 - size / 2;
    if (start + size > areaTo)
        start = areaTo - size;
    if (start < areaFrom)
        start = areaFrom;
    return start;
}
