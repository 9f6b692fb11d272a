#include "ShellExecute.h"

#include "GbkString.h"

#include "platform/os/FilePath.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include <cstring>

namespace {
HINSTANCE Result(uintptr_t code) { return reinterpret_cast<HINSTANCE>(code); }
constexpr uintptr_t kFileNotFound = 2;
constexpr uintptr_t kNoAssociation = 31;
constexpr uintptr_t kDone = 42;
} // namespace

BOOL ShellExecuteExA(LPSHELLEXECUTEINFO lpExecInfo) {
    if (!lpExecInfo || lpExecInfo->cbSize != sizeof(SHELLEXECUTEINFO))
        return FALSE;
    lpExecInfo->hInstApp = Result(kNoAssociation);
    if ((lpExecInfo->lpVerb && *lpExecInfo->lpVerb && std::strcmp(lpExecInfo->lpVerb, "open") != 0))
        return FALSE;
    if (!lpExecInfo->lpFile || !*lpExecInfo->lpFile) {
        lpExecInfo->hInstApp = Result(kFileNotFound);
        return FALSE;
    }
    const QString text = GbkToQString(lpExecInfo->lpFile);
    QUrl url(text);
    if (url.scheme().size() <= 1) { // no scheme, or a drive letter: a file name
        const QString path = GbkToQString(LocalFilePath(lpExecInfo->lpFile));
        if (!QFileInfo::exists(path)) {
            lpExecInfo->hInstApp = Result(kFileNotFound);
            return FALSE;
        }
        url = QUrl::fromLocalFile(path);
    }
    if (!QDesktopServices::openUrl(url))
        return FALSE;
    lpExecInfo->hInstApp = Result(kDone);
    return TRUE;
}
