#include "platform/gui/frame/Menu.h"
#include "platform/gui/frame/ResourceTable.h"

// The main window's menu and the wall view's context menus.
extern const MenuTemplate kProgramMenus[2];
const MenuTemplate kProgramMenus[2] = {
    {128,
     {
         {"File(&F)", 0, MF_POPUP, {{"Exit(&X)", 57665, 0}}},
         {"Config(&E)",
          0,
          MF_POPUP,
          {
              {"Connect...(&s)", 1032, 0},
              {"LCD WALL...(&u)", 1033, 0},
              {"Matrix...(&m)", 32787, 0},
              {"Monitor remote...(&r)", 32803, 0},
              {"Advanced control...(&a)", 32815, 0},
          }},
     }},
    {157,
     {
         {"LCD WALL  RIGHT CLICK",
          0,
          MF_POPUP,
          {
              {"Open PIP window", 32793, 0},
              {"Close PIP window", 32794, 0},
              {"PIP source",
               0,
               MF_POPUP,
               {
                   {"VIDEO1", 32809, 0},
                   {"VIDEO2", 32810, 0},
                   {"VGA", 32811, 0},
                   {"HDMI", 32812, 0},
                   {"DVI", 32813, 0},
               }},
          }},
         {"PIP WINDOW RIGHT CLICK", 0, MF_POPUP, {{"CLOSE", 32795, 0}}},
     }},
};
