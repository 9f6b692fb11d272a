#include "platform/gui/FrameworkIds.h"
#include "platform/gui/ResourceTable.h"

// The document template's string (window title, document name, new-file name, filter, extension, file type
// id and name) and the application's title.
extern const StringTemplate kProgramStrings[2];
const StringTemplate kProgramStrings[2] = {
    {128, "拼接墙\n\n拼接墙\n\n\nVeltrano.Document\nVeltrano.Document"},
    {AFX_IDS_APP_TITLE, "LCD WALL"},
};
