#include "platform/gui/controls/Button.h"
#include "platform/gui/controls/Static.h"
#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/WindowStyles.h"

// The About box and the main view's form (the wall view's place, a grid control).
extern const DlgTemplate kProgramDialogs[2];
const DlgTemplate kProgramDialogs[2] = {
    {100,
     "About LCD WALL",
     300,
     110,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
     {
         {-1, DlgItemKind::Static, "128", 16, 16, 32, 32, WS_VISIBLE | SS_ICON},
         {-1, DlgItemKind::Static, "Veltrano 1.0: LCD video wall control", 64, 16, 220, 18, WS_VISIBLE | SS_LEFT},
         {-1, DlgItemKind::Static, "Copyright (C) the Veltrano authors", 64, 40, 220, 18, WS_VISIBLE | SS_LEFT},
         {IDOK, DlgItemKind::PushButton, "OK", 214, 74, 70, 24, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON},
     }},
    {101,
     "",
     320,
     240,
     WS_CHILD,
     {
         {1002, DlgItemKind::Custom, "", 64, 10, 192, 220, WS_VISIBLE | WS_TABSTOP, {}, "GridCtrlWnd"},
     }},
};
