#include "platform/gui/frame/FrameworkIds.h"
#include "platform/gui/frame/ResourceTable.h"

// The message when OLE cannot start, the document template's string (window title, document name, new-file name,
// filter, extension, file type id and name), the application's title and the status bar's key indicators.
extern const StringTemplate kProgramStrings[6];
const StringTemplate kProgramStrings[6] = {
    {100, "The program could not start its data exchange services (OLE). Check the installation and start it "
          "again."},
    {128, "拼接墙\n\n拼接墙\n\n\nVeltrano.Document\nVeltrano.Document"},
    {AFX_IDS_APP_TITLE, "LCD WALL"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
};
