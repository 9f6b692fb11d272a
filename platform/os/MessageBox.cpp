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

std::string& CurrentCaption() {
    static std::string caption;
    return caption;
}

} // namespace

int AfxMessageBox(const std::string& gbkText, UINT type, UINT /*helpId*/) {
    if (CurrentHandler())
        return CurrentHandler()(gbkText, type);
    return ShowOnStandardError(gbkText, type);
}

int AfxMessageBoxWithCaption(const std::string& gbkText, const std::string& gbkCaption, UINT type) {
    // Boxes can nest (a timer may show one while another is open): each restores the caption it found.
    std::string previous = std::move(CurrentCaption());
    CurrentCaption() = gbkCaption;
    const int result = AfxMessageBox(gbkText, type);
    CurrentCaption() = std::move(previous);
    return result;
}

const std::string& MessageBoxCaption() { return CurrentCaption(); }

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

void AfxReportOutOfMemory() { AfxMessageBox("Out of memory: the operation was not completed.", MB_OK | MB_ICONERROR); }
