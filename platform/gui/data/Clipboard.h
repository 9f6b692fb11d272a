#pragma once

#include "platform/os/GlobalMemory.h"
#include "platform/os/Types.h"

#include <Qt>

#include <optional>
#include <string>

class QMimeData;

// Clipboard formats and drop effects with the platform's values. The program exchanges CF_TEXT only: GBK bytes
// ending in a zero byte. Qt carries them twice: the exact bytes under a private type, for this program, and
// the decoded text as text/plain, for every other program.

typedef WORD CLIPFORMAT;
typedef DWORD DROPEFFECT;

constexpr CLIPFORMAT CF_TEXT = 1;
constexpr CLIPFORMAT CF_UNICODETEXT = 13;

constexpr DROPEFFECT DROPEFFECT_NONE = 0;
constexpr DROPEFFECT DROPEFFECT_COPY = 1;
constexpr DROPEFFECT DROPEFFECT_MOVE = 2;
constexpr DROPEFFECT DROPEFFECT_LINK = 4;
constexpr DROPEFFECT DROPEFFECT_SCROLL = 0x80000000;

// The drop effects as Qt's drop actions, and back.
Qt::DropActions DropActionsFromEffects(DROPEFFECT effects);
DROPEFFECT DropEffectFromAction(Qt::DropAction action);

// Mime type of the exact CF_TEXT bytes.
extern const char* const kCfTextMimeType;

// Mime data for a CF_TEXT block: its bytes as they are, and as text/plain the text up to the first zero byte.
QMimeData* CfTextToMimeData(const std::string& block);
// The CF_TEXT block that mime data offers: the exact bytes when this program wrote them, else the plain text
// in GBK (a character GBK cannot carry becomes "?", as the platform converts it) with one zero byte added.
// No value when there is no text at all.
std::optional<std::string> CfTextFromMimeData(const QMimeData* data);

// Whether the system clipboard offers the format; only CF_TEXT and CF_UNICODETEXT are known.
BOOL IsClipboardFormatAvailable(UINT format);
