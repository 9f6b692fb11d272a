#include "MessageBox.h"

#include "Gbk.h"

#include <cstdio>
#include <optional>

namespace {

MessageBoxHandler& CurrentHandler() {
    static MessageBoxHandler handler;
    return handler;
}

int ShowOnStandardError(const std::string& gbkText, UINT type) {
    std::optional<std::string> utf8 = GbkToUtf8(gbkText);
    std::fprintf(stderr, "%s\n", utf8 ? utf8->c_str() : gbkText.c_str());
    return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

} // namespace

int AfxMessageBox(const std::string& gbkText, UINT type, UINT /*helpId*/) {
    if (CurrentHandler())
        return CurrentHandler()(gbkText, type);
    return ShowOnStandardError(gbkText, type);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

void AfxReportOutOfMemory() { AfxMessageBox("Out of memory: the operation was not completed.", MB_OK | MB_ICONERROR); }
