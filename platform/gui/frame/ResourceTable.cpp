#include "ResourceTable.h"

#include "Menu.h"
#include "WinApp.h"

#include "platform/os/Gbk.h"

#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

// The raw data of a resource, built once and kept, so that handles stay valid.
struct HRSRC__ {
    std::vector<BYTE> data;
};

namespace {

template <class T> std::map<UINT, const T*>& Registry() {
    static auto* entries = new std::map<UINT, const T*>;
    return *entries;
}

template <class T> void Add(const T* table, size_t count) {
    for (size_t i = 0; table && i < count; ++i)
        Registry<T>()[table[i].id] = &table[i];
}

std::set<const void*>& LiveResources() {
    static auto* live = new std::set<const void*>;
    return *live;
}

void PutWord(std::vector<BYTE>& out, WORD w) {
    out.push_back(LOBYTE(w));
    out.push_back(HIBYTE(w));
}

void PutMenuItems(std::vector<BYTE>& out, const std::vector<MenuItemTemplate>& items) {
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItemTemplate& item = items[i];
        const bool popup = (item.flags & MF_POPUP) != 0;
        UINT flags = item.flags & (MF_POPUP | MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK | MF_MENUBREAK);
        if (i + 1 == items.size())
            flags |= MF_END;
        PutWord(out, static_cast<WORD>(flags));
        if (!popup)
            PutWord(out, static_cast<WORD>(item.id));
        const QString text = QString::fromUtf8(item.text ? item.text : "");
        for (QChar c : text)
            PutWord(out, c.unicode());
        PutWord(out, 0);
        if (popup)
            PutMenuItems(out, item.items);
    }
}

template <class T> const T* Find(UINT id);

HRSRC BuildResource(UINT type, UINT id) {
    std::vector<BYTE> data;
    if (type == 4) {
        const MenuTemplate* menu = Find<MenuTemplate>(id);
        if (!menu)
            return nullptr;
        PutWord(data, 0); // version
        PutWord(data, 0); // header size beyond these two words
        PutMenuItems(data, menu->items);
    } else if (type == 241) {
        const ToolBarTemplate* bar = Find<ToolBarTemplate>(id);
        if (!bar)
            return nullptr;
        PutWord(data, 1);
        PutWord(data, static_cast<WORD>(bar->cx));
        PutWord(data, static_cast<WORD>(bar->cy));
        PutWord(data, static_cast<WORD>(bar->items.size()));
        for (UINT command : bar->items)
            PutWord(data, static_cast<WORD>(command));
    } else {
        return nullptr;
    }
    static auto* built = new std::map<std::pair<UINT, UINT>, HRSRC>;
    HRSRC& slot = (*built)[{type, id}];
    // A replaced table gets a new record; earlier handles stay valid.
    if (!slot || slot->data != data) {
        slot = new HRSRC__{std::move(data)};
        LiveResources().insert(slot);
    }
    return slot;
}

template <class T> const T* Find(UINT id) {
    const auto& entries = Registry<T>();
    const auto it = entries.find(id);
    return it == entries.end() ? nullptr : it->second;
}

// Texts the framework itself shows, unless the program's tables hold its own.
const StringTemplate kFrameworkStrings[] = {
    {0xE001, "Ready"}, // AFX_IDS_IDLEMESSAGE
    {0xE701, "CAP"},   // ID_INDICATOR_CAPS
    {0xE702, "NUM"},   // ID_INDICATOR_NUM
    {0xE703, "SCRL"},  // ID_INDICATOR_SCRL
};

} // namespace

void CResourceTable::AddDialogs(const DlgTemplate* table, size_t count) { Add(table, count); }
void CResourceTable::AddMenus(const MenuTemplate* table, size_t count) { Add(table, count); }
void CResourceTable::AddAccelerators(const AccelTemplate* table, size_t count) { Add(table, count); }
void CResourceTable::AddStrings(const StringTemplate* table, size_t count) { Add(table, count); }
void CResourceTable::AddToolBars(const ToolBarTemplate* table, size_t count) { Add(table, count); }

const DlgTemplate* CResourceTable::FindDialog(UINT id) { return Find<DlgTemplate>(id); }
const MenuTemplate* CResourceTable::FindMenu(UINT id) { return Find<MenuTemplate>(id); }
const AccelTemplate* CResourceTable::FindAccelerators(UINT id) { return Find<AccelTemplate>(id); }
const ToolBarTemplate* CResourceTable::FindToolBar(UINT id) { return Find<ToolBarTemplate>(id); }

const char* CResourceTable::FindString(UINT id) {
    if (const StringTemplate* s = Find<StringTemplate>(id))
        return s->text;
    for (const StringTemplate& s : kFrameworkStrings)
        if (s.id == id)
            return s.text;
    return nullptr;
}

BOOL AfxLoadString(UINT id, CString& text) {
    const char* utf8 = CResourceTable::FindString(id);
    std::optional<std::string> gbk = utf8 ? Utf8ToGbk(utf8) : std::nullopt;
    if (!gbk) {
        text.Empty();
        return FALSE;
    }
    text = *gbk;
    return TRUE;
}

HRSRC FindResource(HINSTANCE /*hModule*/, LPCTSTR lpName, LPCTSTR lpType) {
    if (!lpName || !lpType || !IS_INTRESOURCE(lpName) || !IS_INTRESOURCE(lpType))
        return nullptr;
    return BuildResource(static_cast<UINT>(reinterpret_cast<uintptr_t>(lpType)),
                         static_cast<UINT>(reinterpret_cast<uintptr_t>(lpName)));
}

HGLOBAL LoadResource(HINSTANCE /*hModule*/, HRSRC hResInfo) {
    return LiveResources().count(hResInfo) ? hResInfo : nullptr;
}

LPVOID LockResource(HGLOBAL hResData) {
    return LiveResources().count(hResData) ? static_cast<HRSRC>(hResData)->data.data() : nullptr;
}

DWORD SizeofResource(HINSTANCE /*hModule*/, HRSRC hResInfo) {
    return LiveResources().count(hResInfo) ? static_cast<DWORD>(hResInfo->data.size()) : 0;
}

HINSTANCE AfxFindResourceHandle(LPCTSTR /*lpszName*/, LPCTSTR /*lpszType*/) { return AfxGetResourceHandle(); }

BOOL CString::LoadString(UINT nID) { return AfxLoadString(nID, *this); }
