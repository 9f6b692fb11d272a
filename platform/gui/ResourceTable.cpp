#include "ResourceTable.h"

#include "platform/os/Gbk.h"

#include <map>
#include <optional>
#include <string>

namespace {

template <class T> std::map<UINT, const T*>& Registry() {
    static auto* entries = new std::map<UINT, const T*>;
    return *entries;
}

template <class T> void Add(const T* table, size_t count) {
    for (size_t i = 0; table && i < count; ++i)
        Registry<T>()[table[i].id] = &table[i];
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
