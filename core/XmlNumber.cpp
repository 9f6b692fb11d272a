#include "XmlNumber.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <tinyxml.h>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

bool ParseDecimal(const char* text, int& value) {
    if (!text)
        return false;
    const char* p = text;
    while (IsBlank(*p))
        ++p;
    const char* digits = (*p == '+' || *p == '-') ? p + 1 : p;
    if (*digits < '0' || *digits > '9')
        return false;
    errno = 0;
    char* end = nullptr;
    long parsed = std::strtol(p, &end, 10);
    if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    while (IsBlank(*end))
        ++end;
    if (*end != '\0')
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ReadDecimalAttribute(const TiXmlElement& element, const char* name, int& value) {
    return ParseDecimal(element.Attribute(name), value);
}
