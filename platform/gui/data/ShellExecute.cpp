#include "ShellExecute.h"

#include "platform/gui/base/GbkString.h"

#include <QDesktopServices>
#include <QFile>
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
    // A file name or address in the file system's encoding, as every name this layer opens.
    QUrl url(QFile::decodeName(lpExecInfo->lpFile));
    if (url.scheme().size() <= 1) { // no scheme, or a drive letter: a file name
        const QString path = LocalFileName(lpExecInfo->lpFile);
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
