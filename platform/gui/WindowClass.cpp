#include "WindowClass.h"

#include "Cursor.h"
#include "WindowStyles.h"

#include <map>

namespace {

std::map<std::string, WindowClassInfo>& Classes() {
    static std::map<std::string, WindowClassInfo> classes;
    return classes;
}

} // namespace

BOOL RegisterWindowClass(const std::string& name, const WindowClassInfo& info) {
    if (name.empty())
        return FALSE;
    Classes()[name] = info;
    return TRUE;
}

BOOL IsWindowClassRegistered(const std::string& name) { return Classes().count(name) ? TRUE : FALSE; }

WindowClassInfo FindWindowClass(const std::string& name) {
    auto it = Classes().find(name);
    if (it != Classes().end())
        return it->second;
    return WindowClassInfo{CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW), false, -1, 0};
}
