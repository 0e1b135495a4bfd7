// ListRules.cpp: plain rules of the product list.
#include "ui/ListRules.h"

#include <string.h>

namespace {

bool StartsWithNoCase(const char* text, const char* prefix)
{
    for (; *prefix; ++text, ++prefix) {
        char c = *text;
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
        if (c != *prefix)
            return false;
    }
    return true;
}

}  // namespace

bool IsWebPageAddress(const char* address)
{
    if (!address)
        return false;
    return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

const char* LinkPageAddress(const char* stored, const char* productsPage)
{
    return IsWebPageAddress(stored) ? stored : productsPage;
}

std::string FieldText(const char* field, size_t size)
{
    const void* end = memchr(field, 0, size);
    return std::string(field, end ? (size_t)(static_cast<const char*>(end) - field) : size);
}

std::string ComponentRowName(const char* name, size_t nameSize, const char* classId, size_t classIdSize)
{
    std::string text = FieldText(name, nameSize);
    return text.empty() ? FieldText(classId, classIdSize) : text;
}

std::string ComponentRowVersion(const char* version, size_t size)
{
    std::string text = FieldText(version, size);
    return text.empty() ? std::string("Unknown") : text;
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
