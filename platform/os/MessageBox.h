#pragma once

#include "Types.h"

#include <functional>
#include <string>

// Message-box styles and answers, with the platform's values.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONWARNING = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_TYPEMASK = 0x0000000F;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a modal message box with a GBK text and returns the button the operator chose. The GUI layer installs
// the real box; tests install one that records; without either the text goes to standard error and the
// answer is the default button.
using MessageBoxHandler = std::function<int(const std::string& gbkText, UINT type)>;

int AfxMessageBox(const std::string& gbkText, UINT type = MB_OK, UINT helpId = 0);

// The same box under a caption of its own (GBK; empty: the application's name). The handler reads the caption
// of the box it shows through MessageBoxCaption.
int AfxMessageBoxWithCaption(const std::string& gbkText, const std::string& gbkCaption, UINT type);
const std::string& MessageBoxCaption();

// Installs a handler (an empty one restores the fallback) and returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The standard report after running out of memory (a std::bad_alloc caught where an operation gives up).
void AfxReportOutOfMemory();
