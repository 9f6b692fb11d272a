#pragma once

#include "platform/os/Types.h"

#include <string>
#include <vector>

// Result codes of the core. 0 is success.
constexpr int kResultOk = 0;
constexpr int kResultFailed = -1;
constexpr int kResultWriteFailed = 16;
constexpr int kResultOpenFailed = 17;
constexpr int kResultNoUnit = 32;
constexpr int kResultUpperLimit = 48;
constexpr int kResultLowerLimit = 49;
constexpr int kResultInvalidParam = 64;
constexpr int kResultScenePending = 80; // not shown: the caller asks the operator instead
constexpr int kResultNotSaved = 81;     // not shown: the operator was told why the file refused the change
constexpr int kResultAddressRange = 96;

// One row of the table: the code, its GBK text and the message-box icon style it is shown with.
struct ErrorMessage {
    int code;
    std::string text;
    UINT style;
};

// The table, in display-search order; filled before main runs.
const std::vector<ErrorMessage>& ErrorMessageTable();
void InitErrorMessageTable();
void DestroyErrorMessageTable();

// Shows prefix + the code's text in a modal message box with the code's icon, or nothing for a code that is not
// in the table (0 and 80 among them). Returns the code unchanged.
int ShowErrorMessage(int code, const std::string& prefix);

// A failure the operator must know about: the text (GBK) in a message box of the given style, and on standard error.
void TellOperator(const std::string& text, UINT style);
// Tells the operator that a file could not be saved: its full path and the reason ("it is missing", the system's
// error text), in an error box and on standard error. The change that was to be saved stays in memory.
void ShowSaveFailure(const std::string& path, const std::string& reason);
// The path as the operator finds the file: absolute, in the file system's encoding made GBK for a box.
std::string FullPathForDisplay(const std::string& path);
// The system's text for an error number, for ShowSaveFailure.
std::string SystemErrorText(int error);
