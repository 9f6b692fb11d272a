#pragma once

// What the X server holds about a window, read with the X tools (xprop, xwininfo, xdotool) as any other client
// reads it: where the window and the frame the window manager put around it stand, and what the manager offers.
#include <QMargins>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string>

// Runs a shell command and answers what it wrote on its standard output.
std::string RunTool(const std::string& command);

// The frame's widths around the client area (_NET_FRAME_EXTENTS); null while the manager has not set them.
QMargins FrameExtents(WId window);
// The client area on the screen, as the server places it.
QRect ClientOnScreen(WId window);
// The client area and the frame around it.
QRect FrameOnScreen(WId window);
// The actions the manager allows (_NET_WM_ALLOWED_ACTIONS), without their prefix: "CLOSE", "MAXIMIZE_HORZ" ...
QStringList AllowedActions(WId window);
// The five numbers of the window's _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
std::vector<unsigned long> MotifHints(WId window);

// Gives the window the input focus through the window manager, as a click on it would, and waits for it.
void ActivateWindow(WId window);
void MovePointer(int x, int y);

// Lets the program handle its events until the condition holds; false when it has not within the limit.
bool WaitUntil(const std::function<bool()>& condition, int limitMs = 5000);
