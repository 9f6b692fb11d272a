#pragma once

#include "platform/gui/base/Handles.h"
#include "platform/os/GlobalMemory.h"
#include "platform/os/String.h"
#include "platform/os/Types.h"

#include <cstddef>
#include <vector>

// The program's resources are tables compiled into it (res/): dialog templates, menus, accelerators and
// strings, looked up by their resource id as the program asks for them. Texts in the tables are UTF-8 as the
// sources are written; they cross to GBK where the program reads them back.

enum class DlgItemKind {
    Static,      // SS_ alignment in the style; SS_ICON shows the icon whose resource id the text holds
    PushButton,  // BS_PUSHBUTTON or BS_DEFPUSHBUTTON; BS_ICON for a picture button without text
    CheckBox,    // BS_AUTOCHECKBOX
    RadioButton, // BS_AUTORADIOBUTTON; WS_GROUP starts a new group
    GroupBox,    // BS_GROUPBOX
    Edit,        // ES_READONLY, ES_CENTER, ES_RIGHT
    ComboBox,    // CBS_DROPDOWNLIST or CBS_DROPDOWN (editable); the initial entries fill it
    ListView,    // LVS_REPORT with LVS_SINGLESEL, LVS_SHOWSELALWAYS, LVS_NOSORTHEADER
    TabControl,  // a place holder whose rectangle another window takes
    Custom,      // a window of a class the program registers (className); an empty place holder until taken over
};

struct DlgItemTemplate {
    int id; // -1 for labels that nothing looks up
    DlgItemKind kind;
    const char* text; // UTF-8
    int x, y, cx, cy; // pixels in the dialog's client area; a combo box shows its own height
    DWORD style;      // the whole style word: WS_VISIBLE, WS_DISABLED, WS_TABSTOP, WS_GROUP and the kind's own bits
    std::vector<const char*> initData = {}; // a combo box's entries, in order
    const char* className = nullptr;        // Custom only
};

struct DlgTemplate {
    UINT id;
    const char* caption; // UTF-8; a property page's caption is its tab text
    int cx, cy;          // client size in pixels
    DWORD style;         // WS_CHILD for pages and form views; a caption style for top-level dialogs
    std::vector<DlgItemTemplate> items;
};

struct MenuItemTemplate {
    const char* text;                         // UTF-8; "&" marks the mnemonic; nullptr with MF_SEPARATOR
    UINT id;                                  // the command id; 0 for pop-ups and separators
    UINT flags;                               // MF_POPUP, MF_SEPARATOR, MF_GRAYED, MF_CHECKED
    std::vector<MenuItemTemplate> items = {}; // a pop-up's items
};

struct MenuTemplate {
    UINT id;
    std::vector<MenuItemTemplate> items;
};

struct AccelEntry {
    BYTE fVirt; // FVIRTKEY with FSHIFT, FCONTROL, FALT
    WORD key;   // a virtual-key code
    WORD cmd;
};

struct AccelTemplate {
    UINT id;
    std::vector<AccelEntry> entries;
};

// A tool bar: its buttons' command ids (0 for a separator) over the picture of the same id, a strip of images of
// cx by cy pixels, one per button that is not a separator, in order.
struct ToolBarTemplate {
    UINT id;
    int cx, cy;
    std::vector<UINT> items;
};

struct StringTemplate {
    UINT id;
    const char* text; // UTF-8
};

// Accelerator flags with the platform's values.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

class CResourceTable {
public:
    // The tables must outlive their use; a later table with the same id replaces the earlier one.
    static void AddDialogs(const DlgTemplate* table, size_t count);
    static void AddMenus(const MenuTemplate* table, size_t count);
    static void AddAccelerators(const AccelTemplate* table, size_t count);
    static void AddStrings(const StringTemplate* table, size_t count);
    static void AddToolBars(const ToolBarTemplate* table, size_t count);

    template <size_t N> static void AddDialogs(const DlgTemplate (&table)[N]) { AddDialogs(table, N); }
    template <size_t N> static void AddMenus(const MenuTemplate (&table)[N]) { AddMenus(table, N); }
    template <size_t N> static void AddAccelerators(const AccelTemplate (&table)[N]) { AddAccelerators(table, N); }
    template <size_t N> static void AddStrings(const StringTemplate (&table)[N]) { AddStrings(table, N); }
    template <size_t N> static void AddToolBars(const ToolBarTemplate (&table)[N]) { AddToolBars(table, N); }

    // nullptr when no table holds the id.
    static const DlgTemplate* FindDialog(UINT id);
    static const MenuTemplate* FindMenu(UINT id);
    static const AccelTemplate* FindAccelerators(UINT id);
    static const ToolBarTemplate* FindToolBar(UINT id);
    static const char* FindString(UINT id); // UTF-8
};

// The string's text in GBK; FALSE and an empty text when no table holds it.
BOOL AfxLoadString(UINT id, CString& text);

// Resources found by type and id, as raw data in the platform's layouts built from the tables: RT_MENU a menu
// template (header, then items of flags, id unless MF_POPUP and UTF-16 text; MF_END closes a level), RT_TOOLBAR
// the tool-bar record (version 1, image size, count, command ids). Every module holds the same resources.
struct HRSRC__;
typedef HRSRC__* HRSRC;
inline const LPCTSTR RT_MENU = MAKEINTRESOURCE(4);
inline const LPCTSTR RT_TOOLBAR = MAKEINTRESOURCE(241);
constexpr UINT MF_END = 0x0080;

// Null for a named (non-numeric) resource, an unknown type, or an id no table holds.
HRSRC FindResource(HINSTANCE hModule, LPCTSTR lpName, LPCTSTR lpType);
// The data stay valid to the end of the process and need no freeing.
HGLOBAL LoadResource(HINSTANCE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
DWORD SizeofResource(HINSTANCE hModule, HRSRC hResInfo);
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
