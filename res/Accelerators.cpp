#include "platform/gui/frame/FrameworkIds.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/Keys.h"

// The framework's standard keys of the main window: new, open, save, the clipboard keys and the panes.
extern const AccelTemplate kProgramAccelerators[1];
const AccelTemplate kProgramAccelerators[1] = {
    {128,
     {
         {FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},
         {FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN},
         {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE},
         {FVIRTKEY | FCONTROL, 'Z', ID_EDIT_UNDO},
         {FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT},
         {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY},
         {FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE},
         {FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO},
         {FVIRTKEY | FSHIFT, VK_DELETE, ID_EDIT_CUT},
         {FVIRTKEY | FCONTROL, VK_INSERT, ID_EDIT_COPY},
         {FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
         {FVIRTKEY, VK_F6, ID_NEXT_PANE},
         {FVIRTKEY | FSHIFT, VK_F6, ID_PREV_PANE},
     }},
};
