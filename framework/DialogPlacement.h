// DialogPlacement.h: where a dialog opens whose template names no position. Plain logic
// without windows.h.
#pragma once

#include <stddef.h>

// Whether a dialog template (DLGTEMPLATE, or DLGTEMPLATEEX after its 0x0001 0xFFFF
// signature) names a position: x or y other than 0. False for data too short to hold one.
bool DialogTemplateGivesPosition(const unsigned char* data, size_t size);

// The start, on one axis, of a window size long, centred on centreFrom..centreTo and
// then moved inside areaFrom..areaTo; a window longer than the area starts at areaFrom.
int CentredStart(int size, int centreFrom, int centreTo, int areaFrom, int areaTo);
