#include "BitmapMenu.h"

#include "BitmapMenuMemDC.h"

#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/Font.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/draw/Pen.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/Registry.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/frame/WinApp.h"
#include "platform/gui/window/ClientDC.h"
#include "platform/gui/window/SystemMetrics.h"
#include "platform/gui/window/SystemParameters.h"
#include "platform/gui/window/Wnd.h"
#include "platform/os/CodePage.h"
#include "platform/os/RuntimeClass.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CBitmapMenu, CMenu)

namespace {

// The settings every bitmap menu shares; fixed for the run.
constexpr int kXPThemedDrawMode = CBitmapMenu::kDrawXP;
constexpr int kOtherDrawMode = CBitmapMenu::kDraw3D;
constexpr BOOL kImageEffects = TRUE;
constexpr BOOL kSelectDisabled3D = TRUE;
constexpr BOOL kSelectDisabledXP = FALSE;

constexpr int kXPCode = 7;
constexpr int kGapWithEffects = 7;
constexpr int kGap = 4;
constexpr int kCheckBox = 16;
constexpr int kMaxLevels = 32;
constexpr LPCSTR kThemeKey = "Software\\Microsoft\\Plus!\\Themes\\Current";
constexpr LPCSTR kClassicThemeFile = "Windows Classic.theme";

struct SharedState {
    // Created when the first image is added, at the size of the menu that adds it.
    CImageList images;
    std::vector<int> imageIds;
    std::vector<HMENU> registry;
    int osCode = CBitmapMenu::GetOSVersionCode();
    int osCodeForTest = 0;
    CPINFO codePage{};
    BOOL classicTheme = FALSE;
    BOOL classicThemeRead = FALSE;
};

// Kept to the end of the process: menus may go after static destructors have run.
SharedState& Shared() {
    static auto* state = new SharedState;
    return *state;
}

int OSCode() {
    const SharedState& shared = Shared();
    return shared.osCodeForTest ? shared.osCodeForTest : shared.osCode;
}

BOOL IsThemedXP() { return OSCode() == kXPCode && !CBitmapMenu::IsClassicTheme(); }

std::u16string ToWide(LPCSTR text) {
    if (!text || !*text)
        return std::u16string();
    const int size = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
    if (size <= 0)
        return std::u16string();
    std::u16string wide(static_cast<size_t>(size), u'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, wide.data(), size);
    wide.resize(static_cast<size_t>(size - 1));
    return wide;
}

CString ToAnsi(const std::u16string& text) {
    if (text.empty())
        return CString();
    const auto count = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return CString();
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), count, ansi.data(), size, nullptr, nullptr);
    return CString(ansi.c_str());
}

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

void Remove(std::vector<HMENU>& list, HMENU hMenu) {
    list.erase(std::remove(list.begin(), list.end(), hMenu), list.end());
}

// The text before and after the tab.
std::pair<CString, CString> SplitAtTab(const CString& text) {
    const int tab = text.Find('\t');
    if (tab < 0)
        return {text, CString()};
    return {text.Left(tab), text.Mid(tab + 1)};
}

void FillRect(CDC* pDC, const CRect& rect, COLORREF colour) { pDC->FillSolidRect(&rect, colour); }

void FrameRect(CDC* pDC, const CRect& rect, COLORREF colour) {
    CBrush brush(colour);
    pDC->FrameRect(&rect, &brush);
}

// A tick seven pixels wide and five high, its top-left corner at the point.
void DrawCheckMark(CDC* pDC, CPoint pt, COLORREF colour) {
    static const int kDrop[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int column = 0; column < 7; ++column)
        pDC->FillSolidRect(pt.x + column, pt.y + kDrop[column], 1, 3, colour);
}

void DrawRadioBullet(CDC* pDC, CPoint pt, COLORREF colour) {
    CBrush brush(colour);
    CPen pen(PS_SOLID, 1, colour);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    CPen* oldPen = pDC->SelectObject(&pen);
    pDC->Ellipse(pt.x, pt.y, pt.x + 6, pt.y + 6);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
}

// A checked item without an image: a radio bullet when the item has a checked-state bitmap, else a tick, at an
// offset from the corner of its box.
void DrawCheck(CDC* pDC, HMENU hMenu, UINT nID, CPoint box, CPoint tickOffset) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_CHECKMARKS;
    GetMenuItemInfoA(hMenu, nID, FALSE, &info);
    if (info.hbmpChecked)
        DrawRadioBullet(pDC, box + CPoint(5, 4), GetSysColor(COLOR_MENUTEXT));
    else
        DrawCheckMark(pDC, box + tickOffset, GetSysColor(COLOR_MENUTEXT));
}

// The caption from the left of the rectangle, the accelerator against its right.
void DrawItemText(CDC* pDC, const CBitmapMenuData& data, CRect rect, COLORREF colour) {
    const auto [caption, accelerator] = SplitAtTab(data.GetString());
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldText = pDC->SetTextColor(colour);
    pDC->DrawText(caption, &rect, DT_SINGLELINE | DT_VCENTER);
    if (!accelerator.IsEmpty())
        pDC->DrawText(accelerator, &rect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    pDC->SetTextColor(oldText);
    pDC->SetBkMode(oldMode);
}

// A window's DC for measuring: the main window's, else the screen's.
class MeasureDC {
public:
    MeasureDC() : m_wnd(AfxGetMainWnd() ? AfxGetMainWnd() : CWnd::GetDesktopWindow()), m_dc(m_wnd->GetDC()) {}
    ~MeasureDC() { m_wnd->ReleaseDC(m_dc); }
    MeasureDC(const MeasureDC&) = delete;
    MeasureDC& operator=(const MeasureDC&) = delete;
    CDC* operator->() const { return m_dc; }
    CDC* Get() const { return m_dc; }

private:
    CWnd* m_wnd;
    CDC* m_dc;
};

BOOL MenuFont(LOGFONT& font) {
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return FALSE;
    font = metrics.lfMenuFont;
    return TRUE;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------

void CBitmapMenuData::SetWideString(LPCWSTR lpszText) { m_text = lpszText ? lpszText : u""; }

void CBitmapMenuData::SetAnsiString(LPCSTR lpszText) { m_text = ToWide(lpszText); }

CString CBitmapMenuData::GetString() const { return ToAnsi(m_text); }

// ---------------------------------------------------------------------------------------------------------------

CBitmapMenu::CBitmapMenu() { GetCPInfo(CP_ACP, &Shared().codePage); }

CBitmapMenu::~CBitmapMenu() { DestroyMenu(); }

BOOL CBitmapMenu::DestroyMenu() {
    std::vector<HMENU>& registry = Shared().registry;
    if (m_hMenu)
        Remove(registry, m_hMenu);
    for (HMENU sub : m_subMenus)
        Remove(registry, sub);
    for (HMENU sub : m_subMenus) {
        CMenu* menu = CMenu::FromHandlePermanent(sub);
        if (menu && menu->IsKindOf(RUNTIME_CLASS(CBitmapMenu)))
            delete menu;
    }
    m_subMenus.clear();
    m_items.clear();
    if (!m_checkMarksShared)
        delete m_checkMarks;
    m_checkMarks = nullptr;
    return CMenu::DestroyMenu();
}

BOOL CBitmapMenu::LoadMenu(UINT nIDResource) { return LoadMenuTemplate(MAKEINTRESOURCE(nIDResource)); }

BOOL CBitmapMenu::LoadMenuTemplate(LPCTSTR lpszResourceName) {
    HINSTANCE instance = AfxFindResourceHandle(lpszResourceName, RT_MENU);
    HRSRC resource = FindResource(instance, lpszResourceName, RT_MENU);
    if (!resource) {
        instance = AfxGetInstanceHandle();
        resource = FindResource(instance, lpszResourceName, RT_MENU);
    }
    if (!resource)
        return FALSE;
    HGLOBAL loaded = LoadResource(instance, resource);
    const auto* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    const DWORD size = SizeofResource(instance, resource);
    if (!data || size < 2 * sizeof(WORD))
        return FALSE;
    WORD headerSize = 0;
    std::memcpy(&headerSize, data + sizeof(WORD), sizeof(WORD));
    const BYTE* end = data + size;
    const BYTE* p = data + 2 * sizeof(WORD) + headerSize;
    if (p > end)
        return FALSE;

    DestroyMenu();
    if (!CreateMenu())
        return FALSE;
    if (!ParseTemplateLevel(p, end, 0))
        return FALSE;
    // The menu bar shows plain texts; only its pop-ups draw their own items.
    for (size_t i = 0; i < m_items.size(); ++i) {
        CBitmapMenuData& item = *m_items[i];
        const UINT flags = MF_BYPOSITION | ((item.m_flags & MF_POPUP) ? MF_POPUP : MF_STRING);
        ModifyMenuA(m_hMenu, static_cast<UINT>(i), flags, item.m_commandId, item.GetString());
        item.m_flags = flags;
    }
    m_loadedFromTemplate = TRUE;
    return TRUE;
}

// One level of a menu template: items of flags, a command id unless a pop-up, and a UTF-16 text; MF_END closes
// the level. FALSE when the data end early or nest too deep.
BOOL CBitmapMenu::ParseTemplateLevel(const BYTE*& p, const BYTE* end, int nDepth) {
    if (nDepth > kMaxLevels)
        return FALSE;
    for (;;) {
        WORD flags = 0;
        WORD id = 0;
        if (end - p < static_cast<std::ptrdiff_t>(sizeof(WORD)))
            return FALSE;
        std::memcpy(&flags, p, sizeof(WORD));
        p += sizeof(WORD);
        if (!(flags & MF_POPUP)) {
            if (end - p < static_cast<std::ptrdiff_t>(sizeof(WORD)))
                return FALSE;
            std::memcpy(&id, p, sizeof(WORD));
            p += sizeof(WORD);
        }
        std::u16string text;
        for (;;) {
            if (end - p < static_cast<std::ptrdiff_t>(sizeof(char16_t)))
                return FALSE;
            char16_t c = 0;
            std::memcpy(&c, p, sizeof(c));
            p += sizeof(c);
            if (!c)
                break;
            text.push_back(c);
        }
        const UINT itemFlags = flags & ~MF_END;
        if (flags & MF_POPUP) {
            auto* sub = new CBitmapMenu;
            sub->m_selectedCheckId = m_selectedCheckId;
            sub->m_unselectedCheckId = m_unselectedCheckId;
            sub->m_checkMarks = m_checkMarks;
            sub->m_checkMarksShared = TRUE;
            if (!sub->CreatePopupMenu()) {
                delete sub;
                return FALSE;
            }
            AppendODMenu(text.c_str(), itemFlags, reinterpret_cast<UINT_PTR>(sub->m_hMenu), -1);
            if (!sub->ParseTemplateLevel(p, end, nDepth + 1))
                return FALSE;
        } else {
            AppendODMenu(text.c_str(), itemFlags, id, -1);
        }
        if (flags & MF_END) {
            InsertSpaces();
            return TRUE;
        }
    }
}

std::unique_ptr<CBitmapMenuData> CBitmapMenu::NewRecord(LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, int nImage) {
    auto record = std::make_unique<CBitmapMenuData>();
    record->SetWideString(lpszText);
    record->m_flags = nFlags;
    record->m_commandId = nID;
    if (nImage < 0) {
        const std::vector<int>& ids = Shared().imageIds;
        const auto it = std::find(ids.begin(), ids.end(), static_cast<int>(nID));
        record->m_sharedIndex = it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
        return record;
    }
    const int index = m_imagesAreIcons ? 0 : FindToolbarImage(static_cast<UINT>(nImage), static_cast<UINT>(nID));
    CImageList strip;
    if (strip.Create(m_imageWidth, m_imageHeight, ILC_COLORDDB | ILC_MASK, 1, 1) &&
        AddBitmapToImageList(&strip, static_cast<UINT_PTR>(nImage)))
        record->m_sharedIndex = AddToSharedImageList(&strip, index, nID);
    return record;
}

BOOL CBitmapMenu::AppendODMenu(LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, int nImage) {
    if (!nID)
        nFlags = (nFlags & MF_BYPOSITION) | MF_SEPARATOR | MF_OWNERDRAW;
    else
        nFlags |= MF_OWNERDRAW;
    if (nFlags & MF_POPUP) {
        Shared().registry.push_back(reinterpret_cast<HMENU>(nID));
        m_subMenus.push_back(reinterpret_cast<HMENU>(nID));
    }
    m_items.push_back(NewRecord(lpszText, nFlags, nID, nImage));
    const BOOL result = AppendMenuA(m_hMenu, nFlags, nID, reinterpret_cast<LPCSTR>(m_items.back().get()));
    if (m_loadedFromTemplate)
        RefreshTopLevelPopups();
    return result;
}

BOOL CBitmapMenu::ModifyODMenu(LPCWSTR lpszText, UINT nItem, UINT nFlags, int nImage) {
    int position = -1;
    if (nFlags & MF_BYPOSITION) {
        position = static_cast<int>(nItem);
    } else {
        for (size_t i = 0; i < m_items.size(); ++i)
            if (!(m_items[i]->m_flags & MF_SEPARATOR) && m_items[i]->m_commandId == nItem)
                position = static_cast<int>(i);
    }
    if (position < 0 || position >= GetRecordCount())
        return FALSE;
    const CBitmapMenuData& old = *m_items[static_cast<size_t>(position)];
    const UINT flags = old.m_flags | MF_BYPOSITION;
    auto record = NewRecord(lpszText, flags, old.m_commandId, nImage);
    const UINT_PTR id = record->m_commandId;
    const CString text = record->GetString();
    m_items[static_cast<size_t>(position)] = std::move(record);
    CBitmapMenuData* data = m_items[static_cast<size_t>(position)].get();
    return ModifyMenuA(m_hMenu, static_cast<UINT>(position), flags, id,
                       (flags & MF_OWNERDRAW) ? reinterpret_cast<LPCSTR>(data) : static_cast<LPCSTR>(text));
}

CBitmapMenuData* CBitmapMenu::GetRecord(int nPos) const {
    return (nPos >= 0 && nPos < GetRecordCount()) ? m_items[static_cast<size_t>(nPos)].get() : nullptr;
}

void CBitmapMenu::RefreshTopLevelPopups() {
    const int count = static_cast<int>(GetMenuItemCount());
    for (int position = 0; position < count; ++position) {
        CMenu* sub = GetSubMenu(position);
        if (!sub)
            continue;
        const auto it = std::find_if(m_items.begin(), m_items.end(), [sub](const auto& item) {
            return (item->m_flags & MF_POPUP) && item->m_commandId == reinterpret_cast<UINT_PTR>(sub->m_hMenu);
        });
        if (it == m_items.end())
            continue;
        (*it)->m_flags = MF_BYPOSITION | MF_POPUP;
        ModifyMenuA(m_hMenu, static_cast<UINT>(position), MF_BYPOSITION | MF_POPUP,
                    reinterpret_cast<UINT_PTR>(sub->m_hMenu), (*it)->GetString());
    }
}

void CBitmapMenu::InsertSpaces() {
    LOGFONT logFont{};
    CFont font;
    MeasureDC dc;
    CFont* oldFont = nullptr;
    if (MenuFont(logFont) && font.CreateFontIndirect(&logFont))
        oldFont = dc->SelectObject(&font);
    auto width = [&dc](const std::u16string& text) {
        SIZE size{0, 0};
        GetTextExtentPoint32W(dc->m_hDC, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    };
    LONG widest = 0;
    for (const auto& item : m_items) {
        const size_t tab = item->m_text.find(u'\t');
        if (!(item->m_flags & MF_SEPARATOR) && tab != std::u16string::npos)
            widest = std::max(widest, width(item->m_text.substr(0, tab)));
    }
    for (const auto& item : m_items) {
        const size_t tab = item->m_text.find(u'\t');
        if ((item->m_flags & MF_SEPARATOR) || tab == std::u16string::npos)
            continue;
        std::u16string caption = item->m_text.substr(0, tab);
        LONG current = width(caption);
        // A space is at least a pixel wide, so this ends.
        while (current < widest) {
            caption.push_back(u' ');
            const LONG next = width(caption);
            if (next <= current)
                break;
            current = next;
        }
        item->m_text = caption + item->m_text.substr(tab);
    }
    if (oldFont)
        dc->SelectObject(oldFont);
}

void CBitmapMenu::SynchronizeMenu() {
    for (const auto& item : m_items)
        item->m_synchronised = FALSE;
    std::vector<std::unique_ptr<CBitmapMenuData>> records;
    const int count = static_cast<int>(GetMenuItemCount());
    for (int position = 0; position < count; ++position) {
        const UINT state = GetMenuState(static_cast<UINT>(position), MF_BYPOSITION);
        UINT flags = MF_BYPOSITION | MF_OWNERDRAW;
        UINT_PTR id = 0;
        if (state & MF_POPUP) {
            flags |= MF_POPUP;
            CMenu* sub = GetSubMenu(position);
            id = sub ? reinterpret_cast<UINT_PTR>(sub->m_hMenu) : 0;
        } else if (state & MF_SEPARATOR) {
            flags |= MF_SEPARATOR;
        } else {
            id = GetMenuItemID(position);
        }
        // The record of an item found again is kept; a separator takes any unclaimed separator's.
        auto claimed = std::find_if(m_items.begin(), m_items.end(), [&](const auto& item) {
            return item && !item->m_synchronised && item->m_commandId == id &&
                   ((item->m_flags & MF_SEPARATOR) != 0) == ((flags & MF_SEPARATOR) != 0);
        });
        std::unique_ptr<CBitmapMenuData> record;
        if (claimed != m_items.end()) {
            record = std::move(*claimed);
        } else {
            CString text;
            if (!(state & MF_OWNERDRAW))
                GetMenuString(static_cast<UINT>(position), text, MF_BYPOSITION);
            record = std::make_unique<CBitmapMenuData>();
            record->SetAnsiString(text);
            record->m_commandId = id;
        }
        record->m_synchronised = TRUE;
        record->m_flags = flags;
        ModifyMenuA(m_hMenu, static_cast<UINT>(position), flags | (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)), id,
                    reinterpret_cast<LPCSTR>(record.get()));
        records.push_back(std::move(record));
    }
    m_items = std::move(records);
}

CBitmapMenu* CBitmapMenu::FindMenuItem(UINT nID, int& nLoc) {
    const int count = static_cast<int>(GetMenuItemCount());
    for (int position = 0; position < count; ++position) {
        CMenu* sub = GetSubMenu(position);
        if (sub) {
            if (sub->IsKindOf(RUNTIME_CLASS(CBitmapMenu)))
                if (CBitmapMenu* found = static_cast<CBitmapMenu*>(sub)->FindMenuItem(nID, nLoc))
                    return found;
        } else if (GetMenuItemID(position) == nID) {
            nLoc = position;
            return this;
        }
    }
    nLoc = -1;
    return nullptr;
}

BOOL CBitmapMenu::GetMenuText(UINT nItem, CString& rString, UINT nFlags) const {
    int position = -1;
    if (nFlags & MF_BYPOSITION) {
        position = static_cast<int>(nItem);
    } else {
        for (size_t i = 0; i < m_items.size() && position < 0; ++i)
            if (!(m_items[i]->m_flags & (MF_SEPARATOR | MF_POPUP)) && m_items[i]->m_commandId == nItem)
                position = static_cast<int>(i);
    }
    const CBitmapMenuData* record = GetRecord(position);
    if (!record)
        return FALSE;
    rString = record->GetString();
    return TRUE;
}

BOOL CBitmapMenu::IsMenuHandle(HMENU hMenu) {
    const std::vector<HMENU>& registry = Shared().registry;
    return hMenu && std::find(registry.begin(), registry.end(), hMenu) != registry.end();
}

BOOL CBitmapMenu::IsMenuObject(const CMenu* pMenu) { return pMenu && IsMenuHandle(pMenu->m_hMenu); }

LRESULT CBitmapMenu::FindKeyboardShortcut(UINT nChar, UINT nFlags, CMenu* pMenu) {
    if (!pMenu || !pMenu->IsKindOf(RUNTIME_CLASS(CBitmapMenu)) || !(nFlags & MF_POPUP))
        return 0;
    auto* menu = static_cast<CBitmapMenu*>(pMenu);
    if (static_cast<int>(menu->GetMenuItemCount()) != menu->GetRecordCount())
        menu->SynchronizeMenu();
    const char16_t key = Lower(static_cast<char16_t>(nChar));
    for (int position = 0; position < menu->GetRecordCount(); ++position) {
        const std::u16string& text = menu->m_items[static_cast<size_t>(position)]->m_text;
        for (size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != u'&')
                continue;
            // "&&" is a literal ampersand, not a mnemonic.
            if (text[i + 1] == u'&') {
                ++i;
                continue;
            }
            if (Lower(text[i + 1]) == key)
                return MAKELRESULT(static_cast<WORD>(position), MNC_EXECUTE);
        }
    }
    return 0;
}

int CBitmapMenu::GetOSVersionCode() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    const BOOL known = GetVersionExA(&info);
    return OSVersionCodeOf(GetVersion(), known ? &info : nullptr);
}

int CBitmapMenu::OSVersionCodeOf(DWORD dwVersion, const OSVERSIONINFOA* pInfo) {
    const DWORD major = LOBYTE(dwVersion);
    if (dwVersion & 0x80000000) {
        if (major < 4)
            return 0;
        if (!pInfo)
            return 2;
        if (pInfo->dwMajorVersion == 4 && pInfo->dwMinorVersion == 10)
            return 3;
        if (pInfo->dwMajorVersion == 4 && pInfo->dwMinorVersion == 90)
            return 4;
        return 2;
    }
    if (!pInfo)
        return 1;
    if (pInfo->dwMajorVersion == 4)
        return 5;
    if (pInfo->dwMajorVersion == 5 && pInfo->dwMinorVersion == 0)
        return 6;
    if (pInfo->dwMajorVersion == 5 && pInfo->dwMinorVersion == 1)
        return 7;
    return 1;
}

BOOL CBitmapMenu::IsClassicThemeFile(LPCSTR lpszThemeFile) {
    if (!lpszThemeFile)
        return FALSE;
    const size_t length = std::strlen(lpszThemeFile);
    const size_t suffix = std::strlen(kClassicThemeFile);
    if (length < suffix)
        return FALSE;
    const char* tail = lpszThemeFile + length - suffix;
    for (size_t i = 0; i < suffix; ++i)
        if (static_cast<char>(Lower(static_cast<unsigned char>(tail[i]))) !=
            static_cast<char>(Lower(static_cast<unsigned char>(kClassicThemeFile[i]))))
            return FALSE;
    return TRUE;
}

BOOL CBitmapMenu::IsClassicTheme() {
    SharedState& shared = Shared();
    if (shared.classicThemeRead)
        return shared.classicTheme;
    shared.classicThemeRead = TRUE;
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kThemeKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return shared.classicTheme;
    char theme[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    DWORD type = 0;
    if (RegQueryValueEx(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(theme), &size) == ERROR_SUCCESS)
        shared.classicTheme = IsClassicThemeFile(theme);
    RegCloseKey(key);
    return shared.classicTheme;
}

int CBitmapMenu::GetEffectiveDrawMode() { return IsThemedXP() ? kXPThemedDrawMode : kOtherDrawMode; }

COLORREF CBitmapMenu::LightenColor(COLORREF crColor, double dFactor) {
    if (dFactor <= 0.0 || dFactor > 1.0)
        return crColor;
    auto lighten = [dFactor](BYTE c) { return static_cast<BYTE>(c + (255 - c) * dFactor); };
    return RGB(lighten(GetRValue(crColor)), lighten(GetGValue(crColor)), lighten(GetBValue(crColor)));
}

CImageList& CBitmapMenu::GetSharedImageList() { return Shared().images; }

const std::vector<int>& CBitmapMenu::GetSharedImageIds() { return Shared().imageIds; }

void CBitmapMenu::SetOSVersionCodeForTest(int nCode) { Shared().osCodeForTest = nCode; }

// ---------------------------------------------------------------------------------------------------------------
// Images.

int CBitmapMenu::FindToolbarImage(UINT nToolBar, UINT nID) {
    const ToolBarTemplate* bar = CResourceTable::FindToolBar(nToolBar);
    if (!bar)
        return 0;
    int image = 0;
    for (UINT id : bar->items) {
        if (id == nID)
            return image;
        if (id != 0)
            ++image;
    }
    return 0;
}

HBITMAP CBitmapMenu::LoadSysColorBitmap(UINT nResourceID) {
    HBITMAP bitmap = LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(nResourceID));
    if (!bitmap)
        return nullptr;
    // Tool-bar pictures are drawn in the sixteen classic colours, whatever depth they are kept in here.
    BITMAP info{};
    const bool sixteenColours =
        CResourceTable::FindToolBar(nResourceID) ||
        (GetObject(reinterpret_cast<HGDIOBJ>(bitmap), sizeof(info), &info) && info.bmBitsPixel <= 4);
    DeleteObject(reinterpret_cast<HGDIOBJ>(bitmap));
    return sixteenColours ? AfxLoadSysColorBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(nResourceID)) : nullptr;
}

BOOL CBitmapMenu::AddBitmapToImageList(CImageList* pList, UINT_PTR nResource) {
    if (!pList)
        return FALSE;
    if (m_imagesAreIcons)
        return pList->Add(reinterpret_cast<HICON>(nResource)) >= 0;
    HBITMAP loaded = LoadSysColorBitmap(static_cast<UINT>(nResource));
    if (!loaded)
        loaded = LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(static_cast<UINT>(nResource)));
    CBitmap bitmap;
    if (!loaded || !bitmap.Attach(reinterpret_cast<HGDIOBJ>(loaded)))
        return FALSE;
    const COLORREF mask = m_useBitmapBackground ? m_bitmapBackground : GetSysColor(COLOR_3DFACE);
    if (pList->Add(&bitmap, mask) < 0)
        return FALSE;
    if (GetEffectiveDrawMode() != kDrawXP || !kImageEffects)
        return TRUE;

    // The flat look's copies: every pixel that is not background lightened 30% towards white, and one in the
    // shadow colour.
    BITMAP size{};
    bitmap.GetBitmap(&size);
    const COLORREF shadow =
        IsThemedXP() ? GetSysColor(COLOR_BTNSHADOW) : LightenColor(GetSysColor(COLOR_BTNSHADOW), 0.49);
    CDC source;
    CDC dest;
    if (!source.CreateCompatibleDC(nullptr) || !dest.CreateCompatibleDC(nullptr))
        return TRUE;
    CBitmap* oldSource = source.SelectObject(&bitmap);
    for (int copy = 0; copy < 2; ++copy) {
        CBitmap made;
        if (!made.CreateCompatibleBitmap(&source, size.bmWidth, size.bmHeight))
            continue;
        CBitmap* oldDest = dest.SelectObject(&made);
        for (int y = 0; y < size.bmHeight; ++y)
            for (int x = 0; x < size.bmWidth; ++x) {
                const COLORREF pixel = source.GetPixel(x, y);
                dest.SetPixel(x, y, pixel == mask ? mask : (copy == 0 ? LightenColor(pixel, 0.3) : shadow));
            }
        dest.SelectObject(oldDest);
        pList->Add(&made, mask);
    }
    source.SelectObject(oldSource);
    return TRUE;
}

int CBitmapMenu::AddToSharedImageList(CImageList* pList, int nIndex, UINT_PTR nID) {
    if (!pList || nIndex < 0)
        return -1;
    const bool effects = GetEffectiveDrawMode() == kDrawXP && kImageEffects;
    const int perCopy = effects ? pList->GetImageCount() / 3 : pList->GetImageCount();
    if (nIndex >= perCopy)
        return -1;
    SharedState& shared = Shared();
    if (!shared.images.m_hImageList &&
        !shared.images.Create(m_imageWidth, m_imageHeight, ILC_COLORDDB | ILC_MASK, 1, 1))
        return -1;
    const int copies = effects ? 3 : 1;
    const auto it = std::find(shared.imageIds.begin(), shared.imageIds.end(), static_cast<int>(nID));
    const bool replace = it != shared.imageIds.end();
    const int first = replace ? static_cast<int>(it - shared.imageIds.begin()) : shared.images.GetImageCount();
    for (int copy = 0; copy < copies; ++copy) {
        HICON icon = pList->ExtractIcon(nIndex + copy * perCopy);
        if (!icon)
            return -1;
        const int at = first + copy;
        if (replace && at < shared.images.GetImageCount() &&
            shared.imageIds[static_cast<size_t>(at)] == static_cast<int>(nID)) {
            shared.images.Replace(at, icon);
        } else {
            shared.images.Add(icon);
            shared.imageIds.push_back(static_cast<int>(nID));
        }
        DestroyIcon(icon);
    }
    return first;
}

HBITMAP CBitmapMenu::GetImageBitmap(CImageList* pList, int nIndex) {
    HICON icon = pList ? pList->ExtractIcon(nIndex) : nullptr;
    if (!icon)
        return nullptr;
    CDC dc;
    CBitmap bitmap;
    if (dc.CreateCompatibleDC(nullptr) && bitmap.CreateCompatibleBitmap(&dc, m_imageWidth, m_imageHeight)) {
        CBitmap* old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, m_imageWidth, m_imageHeight, GetSysColor(COLOR_3DFACE));
        DrawIconEx(dc.m_hDC, 0, 0, icon, m_imageWidth, m_imageHeight, 0, nullptr, DI_NORMAL);
        dc.SelectObject(old);
    }
    DestroyIcon(icon);
    return reinterpret_cast<HBITMAP>(bitmap.Detach());
}

void CBitmapMenu::DrawEmbossed(CDC* pDC, CImageList* pList, int nIndex, CPoint pt) {
    HICON icon = pList ? pList->ExtractIcon(nIndex) : nullptr;
    if (!icon)
        return;
    pDC->DrawState(pt, CSize(m_imageWidth, m_imageHeight), icon, DST_ICON | DSS_DISABLED, static_cast<HBRUSH>(nullptr));
    DestroyIcon(icon);
}

// The second method: a one-bit mask of the image's dark pixels, made in a DIB section, drawn in the highlight
// one pixel down and right and then in the shadow colour in place.
void CBitmapMenu::DrawEmbossedDIB(CDC* pDC, CImageList* pList, int nIndex, CPoint pt) {
    HBITMAP image = GetImageBitmap(pList, nIndex);
    if (!image)
        return;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), m_imageWidth, m_imageHeight, 1, 1, BI_RGB, 0, 0, 0, 0, 0};
    info.colours[1] = RGBQUAD{255, 255, 255, 0};
    void* bits = nullptr;
    HBITMAP mask =
        CreateDIBSection(pDC->m_hDC, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    CDC imageDC;
    if (mask && bits && imageDC.CreateCompatibleDC(pDC)) {
        HGDIOBJ old = imageDC.SelectObject(reinterpret_cast<HGDIOBJ>(image));
        const COLORREF face = GetSysColor(COLOR_3DFACE);
        const DWORD line = ((static_cast<DWORD>(m_imageWidth) + 31) / 32) * 4;
        auto* rows = static_cast<BYTE*>(bits);
        for (int y = 0; y < m_imageHeight; ++y)
            for (int x = 0; x < m_imageWidth; ++x) {
                const COLORREF pixel = imageDC.GetPixel(x, y);
                const int lightness = GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel);
                if (pixel != face && lightness < 3 * 192)
                    rows[static_cast<DWORD>(m_imageHeight - 1 - y) * line + static_cast<DWORD>(x / 8)] |=
                        static_cast<BYTE>(0x80 >> (x % 8));
            }
        imageDC.SelectObject(old);
        for (int pass = 0; pass < 2; ++pass) {
            const COLORREF colour = GetSysColor(pass == 0 ? COLOR_3DHILIGHT : COLOR_3DSHADOW);
            const int shift = pass == 0 ? 1 : 0;
            for (int y = 0; y < m_imageHeight; ++y)
                for (int x = 0; x < m_imageWidth; ++x)
                    if (rows[static_cast<DWORD>(m_imageHeight - 1 - y) * line + static_cast<DWORD>(x / 8)] &
                        (0x80 >> (x % 8)))
                        pDC->SetPixel(pt.x + x + shift, pt.y + y + shift, colour);
        }
    }
    if (mask)
        DeleteObject(reinterpret_cast<HGDIOBJ>(mask));
    DeleteObject(reinterpret_cast<HGDIOBJ>(image));
}

BOOL CBitmapMenu::HasImage(const CBitmapMenuData* pData) const {
    if (!pData)
        return FALSE;
    if (pData->m_imageList && pData->m_imageOffset >= 0)
        return TRUE;
    return pData->m_sharedIndex >= 0 && pData->m_sharedIndex < Shared().images.GetImageCount();
}

// nCopy 1 and 2 are the faded and shadow copies of a shared image made with the image effects.
void CBitmapMenu::DrawImage(CDC* pDC, const CBitmapMenuData* pData, CPoint pt, BOOL bEmbossed, int nCopy) {
    CImageList* list = nullptr;
    int index = -1;
    if (pData->m_imageList && pData->m_imageOffset >= 0) {
        list = pData->m_imageList.get();
        index = pData->m_imageOffset;
    } else {
        list = &Shared().images;
        index = pData->m_sharedIndex + nCopy;
    }
    if (index < 0 || index >= list->GetImageCount())
        return;
    if (!bEmbossed)
        list->Draw(pDC, index, pt, ILD_TRANSPARENT);
    else if (m_disabledImageMethod)
        DrawEmbossedDIB(pDC, list, index, pt);
    else
        DrawEmbossed(pDC, list, index, pt);
}

// ---------------------------------------------------------------------------------------------------------------
// Measuring and drawing.

void CBitmapMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    const auto* data = reinterpret_cast<const CBitmapMenuData*>(lpMeasureItemStruct->itemData);
    const int mode = GetEffectiveDrawMode();
    const int gap = (mode == kDrawXP && kImageEffects) ? kGapWithEffects : kGap;
    const int menuHeight = GetSystemMetrics(SM_CYMENU);
    if (!data || (data->m_flags & MF_SEPARATOR)) {
        lpMeasureItemStruct->itemWidth = 0;
        lpMeasureItemStruct->itemHeight = static_cast<UINT>(std::max((m_imageHeight + gap) / 2, menuHeight / 2));
        return;
    }
    MeasureDC dc;
    CFont font;
    CFont* oldFont = nullptr;
    LOGFONT logFont{};
    if (OSCode() > 1 && MenuFont(logFont) && font.CreateFontIndirect(&logFont))
        oldFont = dc->SelectObject(&font);
    LONG textWidth = 0;
    if (OSCode() == 0) {
        const CString text = data->GetString();
        CRect rect(0, 0, 0, 0);
        dc->DrawText(text, &rect, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
        const LONG w = rect.Width() + 3;
        textWidth = w + (text.GetLength() ? 3 * (w / text.GetLength()) : 0);
    } else {
        SIZE size{0, 0};
        GetTextExtentPoint32W(dc->m_hDC, data->m_text.data(), static_cast<int>(data->m_text.size()), &size);
        textWidth = size.cx;
    }
    if (oldFont)
        dc->SelectObject(oldFont);
    const LONG width = mode == kDrawXP ? m_imageWidth + textWidth + 8 + gap : 2 * m_imageWidth + 1 + textWidth;
    lpMeasureItemStruct->itemWidth = static_cast<UINT>(std::max(0L, static_cast<long>(width)));
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(std::max(m_imageHeight + gap, menuHeight));
}

void CBitmapMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!pDC)
        return;
    if (pDC->GetDeviceCaps(RASTERCAPS) & RC_PALETTE)
        DrawItem3D(lpDrawItemStruct);
    else if (GetEffectiveDrawMode() == kDrawXP)
        DrawItemXP(lpDrawItemStruct);
    else
        DrawItem3D(lpDrawItemStruct);
}

void CBitmapMenu::DrawItemXP(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* target = CDC::FromHandle(lpDrawItemStruct->hDC);
    const auto* data = reinterpret_cast<const CBitmapMenuData*>(lpDrawItemStruct->itemData);
    if (!target || !data)
        return;
    const BOOL themed = IsThemedXP();
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    const COLORREF band = themed ? GetSysColor(COLOR_3DFACE) : LightenColor(GetSysColor(COLOR_3DFACE), 0.25);
    const COLORREF selection = LightenColor(GetSysColor(COLOR_HIGHLIGHT), themed ? 0.7 : 0.85);
    const int gap = kImageEffects ? kGapWithEffects : kGap;
    const int bandWidth = m_imageWidth + gap;
    const CRect item = lpDrawItemStruct->rcItem;
    const UINT state = lpDrawItemStruct->itemState;
    const BOOL grayed = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const BOOL selected = (state & ODS_SELECTED) && (!grayed || kSelectDisabledXP);
    const BOOL checked = (state & ODS_CHECKED) != 0;

    // The whole item is drawn off screen in the menu font, and shown in one step.
    CBitmapMenuMemDC memDC(target, &item);
    CDC* pDC = &memDC;
    LOGFONT logFont{};
    CFont font;
    CFont* oldFont = nullptr;
    if (MenuFont(logFont) && font.CreateFontIndirect(&logFont))
        oldFont = pDC->SelectObject(&font);

    const CRect bandRect(item.left, item.top, item.left + bandWidth, item.bottom);
    const CRect rest(bandRect.right, item.top, item.right, item.bottom);
    if (data->m_flags & MF_SEPARATOR) {
        FillRect(pDC, bandRect, band);
        FillRect(pDC, rest, background);
        CRect line(bandRect.right + gap, item.top + item.Height() / 2, item.right, item.bottom);
        pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
    } else {
        if (selected) {
            FillRect(pDC, item, selection);
            FrameRect(pDC, item, GetSysColor(COLOR_HIGHLIGHT));
        } else {
            FillRect(pDC, bandRect, band);
            FillRect(pDC, rest, background);
        }
        if (HasImage(data)) {
            const CPoint at(item.left + static_cast<int>((bandWidth - m_imageWidth) * 0.5 + 0.5),
                            item.top + static_cast<int>((item.Height() - m_imageHeight) * 0.5 + 0.5));
            const bool copies =
                !data->m_imageList && kImageEffects && data->m_sharedIndex + 2 < Shared().images.GetImageCount() &&
                Shared().imageIds[static_cast<size_t>(data->m_sharedIndex + 2)] == static_cast<int>(data->m_commandId);
            if (grayed) {
                DrawImage(pDC, data, at, TRUE);
            } else if (selected && !checked && copies) {
                DrawImage(pDC, data, at + CPoint(1, 1), FALSE, 2);
                DrawImage(pDC, data, at - CPoint(1, 1), FALSE);
            } else {
                DrawImage(pDC, data, at, FALSE);
            }
        } else if (checked) {
            const CRect box(CPoint(item.left + (bandWidth - kCheckBox) / 2, item.top + (item.Height() - kCheckBox) / 2),
                            CSize(kCheckBox, kCheckBox));
            FillRect(pDC, box, LightenColor(GetSysColor(COLOR_HIGHLIGHT), 0.85));
            FrameRect(pDC, box, GetSysColor(COLOR_HIGHLIGHT));
            DrawCheck(pDC, m_hMenu, lpDrawItemStruct->itemID, box.TopLeft(), CPoint(5, 4));
        }
        COLORREF text = GetSysColor(COLOR_MENUTEXT);
        if (grayed)
            text = (selected || themed) ? GetSysColor(COLOR_GRAYTEXT) : LightenColor(GetSysColor(COLOR_GRAYTEXT), 0.4);
        DrawItemText(pDC, *data, CRect(item.left + bandWidth + 8, item.top, item.right - gap, item.bottom), text);
    }
    if (oldFont)
        pDC->SelectObject(oldFont);
}

void CBitmapMenu::DrawItem3D(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const auto* data = reinterpret_cast<const CBitmapMenuData*>(lpDrawItemStruct->itemData);
    if (!pDC || !data)
        return;
    const BOOL themed = IsThemedXP();
    const COLORREF background = GetSysColor(themed ? COLOR_3DFACE : COLOR_MENU);
    const CRect item = lpDrawItemStruct->rcItem;
    const UINT state = lpDrawItemStruct->itemState;
    const BOOL grayed = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const BOOL selected = (state & ODS_SELECTED) && (!grayed || kSelectDisabled3D);
    const BOOL checked = (state & ODS_CHECKED) != 0;
    const BOOL edges = OSCode() > 1;

    if (data->m_flags & MF_SEPARATOR) {
        FillRect(pDC, item, background);
        CRect line(item.left, item.top + item.Height() / 2, item.right, item.bottom);
        pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const BOOL image = HasImage(data);
    const BOOL checkImages = m_checkMarks && (m_selectedCheckId >= 0 || m_unselectedCheckId >= 0);
    FillRect(pDC, item, background);
    if (selected) {
        CRect fill = item;
        if (image || checked)
            fill.left += m_imageWidth + 5;
        FillRect(pDC, fill, GetSysColor(COLOR_HIGHLIGHT));
    }
    const int d = std::max(0, (item.Height() - m_imageHeight - 4) / 2);
    const CRect box(item.left + 1, item.top + d + 1, item.left + m_imageWidth + 3, item.top + d + m_imageHeight + 3);
    if (image) {
        if (!selected) {
            if (checked) {
                FillRect(pDC, box, LightenColor(background, 0.6));
                if (edges)
                    pDC->Draw3dRect(&box, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
            } else {
                FillRect(pDC, box, background);
                FrameRect(pDC, box, background);
            }
        } else if (!grayed && edges) {
            if (checked)
                pDC->Draw3dRect(&box, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
            else
                pDC->Draw3dRect(&box, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        }
        DrawImage(pDC, data, CPoint(item.left + 2, item.top + d + 2), grayed);
    } else if (checked) {
        if (checkImages) {
            const int index = selected ? 1 : 0;
            if (index < m_checkMarks->GetImageCount())
                m_checkMarks->Draw(pDC, index, CPoint(item.left + 2, item.top + d + 2), ILD_TRANSPARENT);
        } else {
            FillRect(pDC, box, selected ? background : LightenColor(background, 0.6));
            if (edges) {
                CRect edge = box;
                pDC->DrawEdge(&edge, BDR_SUNKENOUTER, BF_RECT);
            }
            DrawCheck(pDC, m_hMenu, lpDrawItemStruct->itemID, box.TopLeft(), CPoint(4, 4));
        }
    }
    COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (grayed && !selected)
        text = GetSysColor(COLOR_GRAYTEXT);
    DrawItemText(pDC, *data, CRect(item.left + m_imageWidth + 9, item.top, item.right - kGap, item.bottom), text);
}
