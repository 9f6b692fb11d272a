#include "SysColor.h"

#include "GdiHandle.h"

#include <QApplication>
#include <QPalette>

#include <array>

namespace {

constexpr int kColorCount = COLOR_MENUBAR + 1;

// One fixed classic scheme: grey faces, white windows, navy selection.
constexpr std::array<COLORREF, kColorCount> kClassic = {
    RGB(212, 208, 200), // SCROLLBAR
    RGB(58, 110, 165),  // BACKGROUND
    RGB(10, 36, 106),   // ACTIVECAPTION
    RGB(128, 128, 128), // INACTIVECAPTION
    RGB(212, 208, 200), // MENU
    RGB(255, 255, 255), // WINDOW
    RGB(0, 0, 0),       // WINDOWFRAME
    RGB(0, 0, 0),       // MENUTEXT
    RGB(0, 0, 0),       // WINDOWTEXT
    RGB(255, 255, 255), // CAPTIONTEXT
    RGB(212, 208, 200), // ACTIVEBORDER
    RGB(212, 208, 200), // INACTIVEBORDER
    RGB(128, 128, 128), // APPWORKSPACE
    RGB(10, 36, 106),   // HIGHLIGHT
    RGB(255, 255, 255), // HIGHLIGHTTEXT
    RGB(212, 208, 200), // BTNFACE
    RGB(128, 128, 128), // BTNSHADOW
    RGB(128, 128, 128), // GRAYTEXT
    RGB(0, 0, 0),       // BTNTEXT
    RGB(212, 208, 200), // INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // BTNHIGHLIGHT
    RGB(64, 64, 64),    // 3DDKSHADOW
    RGB(212, 208, 200), // 3DLIGHT
    RGB(0, 0, 0),       // INFOTEXT
    RGB(255, 255, 225), // INFOBK
    RGB(181, 181, 181), // (unused slot)
    RGB(0, 0, 128),     // HOTLIGHT
    RGB(166, 202, 240), // GRADIENTACTIVECAPTION
    RGB(192, 192, 192), // GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),   // MENUHILIGHT
    RGB(212, 208, 200), // MENUBAR
};

std::array<COLORREF, kColorCount>& Table() {
    static std::array<COLORREF, kColorCount> table = kClassic;
    return table;
}

bool g_paletteApplied = false;

bool InTable(int index) { return index >= 0 && index < kColorCount; }

QColor Q(int index) { return ToQColor(Table()[static_cast<size_t>(index)]); }

} // namespace

COLORREF GetSysColor(int index) { return InTable(index) ? Table()[static_cast<size_t>(index)] : 0; }

HBRUSH GetSysColorBrush(int index) {
    static std::array<HBRUSH__*, kColorCount> brushes{};
    if (!InTable(index))
        return nullptr;
    auto& brush = brushes[static_cast<size_t>(index)];
    if (!brush) {
        brush = NewBrush(LOGBRUSH{BS_SOLID, GetSysColor(index), 0});
        brush->sysColorIndex = index;
        brush->stock = true;
    }
    return brush;
}

void ApplySysColorPalette() {
    QPalette p;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Window, Q(COLOR_BTNFACE));
        p.setColor(group, QPalette::WindowText, Q(COLOR_WINDOWTEXT));
        p.setColor(group, QPalette::Base, Q(COLOR_WINDOW));
        p.setColor(group, QPalette::AlternateBase, Q(COLOR_BTNFACE));
        p.setColor(group, QPalette::ToolTipBase, Q(COLOR_INFOBK));
        p.setColor(group, QPalette::ToolTipText, Q(COLOR_INFOTEXT));
        p.setColor(group, QPalette::PlaceholderText, Q(COLOR_GRAYTEXT));
        p.setColor(group, QPalette::Text, Q(COLOR_WINDOWTEXT));
        p.setColor(group, QPalette::Button, Q(COLOR_BTNFACE));
        p.setColor(group, QPalette::ButtonText, Q(COLOR_BTNTEXT));
        p.setColor(group, QPalette::BrightText, Q(COLOR_BTNHIGHLIGHT));
        p.setColor(group, QPalette::Light, Q(COLOR_BTNHIGHLIGHT));
        p.setColor(group, QPalette::Midlight, Q(COLOR_3DLIGHT));
        p.setColor(group, QPalette::Mid, Q(COLOR_BTNSHADOW));
        p.setColor(group, QPalette::Dark, Q(COLOR_BTNSHADOW));
        p.setColor(group, QPalette::Shadow, Q(COLOR_3DDKSHADOW));
        p.setColor(group, QPalette::Highlight, Q(COLOR_HIGHLIGHT));
        p.setColor(group, QPalette::HighlightedText, Q(COLOR_HIGHLIGHTTEXT));
        p.setColor(group, QPalette::Link, Q(COLOR_HOTLIGHT));
    }
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, Q(COLOR_GRAYTEXT));
    QApplication::setPalette(p);
    g_paletteApplied = true;
}

BOOL SetSysColorForTest(int index, COLORREF color) {
    if (!InTable(index))
        return FALSE;
    Table()[static_cast<size_t>(index)] = color & 0x00FFFFFF;
    if (g_paletteApplied)
        ApplySysColorPalette();
    return TRUE;
}

void ResetSysColorsForTest() {
    Table() = kClassic;
    if (g_paletteApplied)
        ApplySysColorPalette();
}
