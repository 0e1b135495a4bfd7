// ListRules.h: plain rules of the product list, without windows.h: the page that a
// newer-version link opens, the texts of a component row, a row as copied, and which
// rows of a report list a point can lie on.
#pragma once

#include "update/PageAddress.h"

#include <string>

// The page that a click on a newer version opens: the stored address when it is a web
// page address, otherwise productsPage (also when nothing is stored).
const char* LinkPageAddress(const char* stored, const char* productsPage);

// Column 0 of a component row: the name, or the class id when the name is empty.
const char* ComponentRowName(const char* name, const char* classId);
// Column 1 of a component row: the version, or "Unknown" when it is empty.
const char* ComponentRowVersion(const char* version);

// A row as Ctrl+C copies it: its columns and the address its link opens, separated by
// TAB, ending with CR LF.
std::string CopiedRowLine(const char* name, const char* version, const char* update, const char* page);

// The rows [*first, *last] of a report list whose strips can hold height y: rows are
// rowHeight pixels high and row 0 starts at firstTop. One row to either side is
// included. False when no row can.
bool RowsAtHeight(int y, int firstTop, int rowHeight, int count, int* first, int* last);
