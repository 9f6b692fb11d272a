#pragma once

#include <cstdint>
#include <string>

struct xcb_connection_t;

// The X server the program's windows stand on, reached through the connection Qt's X11 platform holds; on any
// other platform (offscreen) there is none, and what is asked of it is not there.

// Null without an X server.
xcb_connection_t* XConnection();
// The atom of a name, made when the server has none yet; 0 without an X server.
uint32_t XAtom(const char* name);
// The name the window manager gives itself; empty when none runs.
std::string XWindowManagerName();
// Has Xlib hold the atom that names the encoding of a title beyond Latin-1; nothing without an X server.
void XInternTitleEncoding();
