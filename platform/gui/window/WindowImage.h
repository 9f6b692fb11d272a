#pragma once

#include <QImage>

#include <functional>

class CWnd;

// The retained client image of a window, asked for afresh on every drawing call (the window may resize or
// go away while a DC on it lives); null once the window is gone.
std::function<QImage*()> WindowImageSource(CWnd* wnd);
