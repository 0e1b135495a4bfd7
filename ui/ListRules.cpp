// ListRules.cpp: plain rules of the product list.
#include "ui/ListRules.h"
#include "update/PageAddress.h"

const char* LinkPageAddress(const char* stored, const char* productsPage)
{
    return IsWebPageAddress(stored) ? stored : productsPage;
}

const char* ComponentRowName(const char* name, const char* classId)
{
    return name[0] ? name : classId;
}

const char* ComponentRowVersion(const char* version)
{
    return version[0] ? version : "Unknown";
}

std::string CopiedRowLine(const char* name, const char* version, const char* update, const char* page)
{
    return std::string(name) + '\t' + version + '\t' + update + '\t' + page + "\r\n";
}

bool RowsAtHeight(int y, int firstTop, int rowHeight, int count, int* first, int* last)
{
    if (count <= 0 || rowHeight <= 0)
        return false;
    long long offset = (long long)y - firstTop;
    // Floor division: points above row 0 give negative rows.
    long long row = offset >= 0 ? offset / rowHeight : -((-offset + rowHeight - 1) / rowHeight);
    long long lo = row - 1;
    long long hi = row + 1;
    if (hi < 0 || lo > count - 1)
        return false;
    *first = (int)(lo < 0 ? 0 : lo);
    *last = (int)(hi > count - 1 ? count - 1 : hi);
    return true;
}
