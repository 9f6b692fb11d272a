#include "Registry.h"

#include <QByteArray>
#include <QDir>
#include <QSettings>
#include <QUrl>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_set>

struct HKEY__ {
    std::string path; // lower case, backslash separated, starting with the root's name
};

namespace {

std::string& FileOverride() {
    static std::string path;
    return path;
}

std::unordered_set<const HKEY__*>& OpenKeys() {
    static std::unordered_set<const HKEY__*> keys;
    return keys;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The path of a root or an open key; false for anything else.
bool PathOf(HKEY key, std::string* path) {
    if (key == HKEY_CLASSES_ROOT)
        *path = "hkey_classes_root";
    else if (key == HKEY_CURRENT_USER)
        *path = "hkey_current_user";
    else if (key == HKEY_LOCAL_MACHINE)
        *path = "hkey_local_machine";
    else if (key == HKEY_USERS)
        *path = "hkey_users";
    else if (OpenKeys().count(key))
        *path = key->path;
    else
        return false;
    return true;
}

std::string Join(const std::string& path, LPCTSTR subKey) {
    std::string out = path;
    if (!subKey)
        return out;
    std::string part;
    for (const char* p = subKey;; ++p) {
        if (*p == '\\' || *p == '\0') {
            if (!part.empty())
                out += "\\" + Lower(part);
            part.clear();
            if (*p == '\0')
                break;
        } else {
            part += *p;
        }
    }
    return out;
}

// Every name becomes one settings key; percent-encoding keeps separators and spaces out of it.
QString Encode(const std::string& text) {
    return QString::fromLatin1(QByteArray(text.data(), static_cast<qsizetype>(text.size())).toPercentEncoding());
}

QString KeyMarker(const std::string& path) { return Encode(path) + "/@key"; }
QString ValueKey(const std::string& path, LPCTSTR name) {
    return Encode(path) + "/v" + Encode(Lower(name ? name : ""));
}

std::unique_ptr<QSettings> Store() {
    return std::make_unique<QSettings>(QString::fromStdString(RegistryFile()), QSettings::IniFormat);
}

bool KeyExists(QSettings& store, const std::string& path) {
    return path.find('\\') == std::string::npos || store.contains(KeyMarker(path));
}

HKEY NewKey(const std::string& path) {
    auto* key = new HKEY__{path};
    OpenKeys().insert(key);
    return key;
}

} // namespace

void SetRegistryFile(const std::string& path) { FileOverride() = path; }

std::string RegistryFile() {
    if (!FileOverride().empty())
        return FileOverride();
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base = config && *config ? config : QDir::homePath().toStdString() + "/.config";
    return base + "/veltrano/registry.ini";
}

LONG RegOpenKeyEx(HKEY hKey, LPCTSTR lpSubKey, DWORD /*ulOptions*/, REGSAM /*samDesired*/, PHKEY phkResult) {
    std::string base;
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    if (!PathOf(hKey, &base))
        return ERROR_INVALID_HANDLE;
    const std::string path = Join(base, lpSubKey);
    auto store = Store();
    if (!KeyExists(*store, path))
        return ERROR_FILE_NOT_FOUND;
    *phkResult = NewKey(path);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyEx(HKEY hKey, LPCTSTR lpSubKey, DWORD /*Reserved*/, LPTSTR /*lpClass*/, DWORD /*dwOptions*/,
                    REGSAM /*samDesired*/, void* /*lpSecurityAttributes*/, PHKEY phkResult, DWORD* lpdwDisposition) {
    std::string base;
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    if (!PathOf(hKey, &base))
        return ERROR_INVALID_HANDLE;
    const std::string path = Join(base, lpSubKey);
    auto store = Store();
    const bool existed = KeyExists(*store, path);
    for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
        store->setValue(KeyMarker(path.substr(0, path.find('\\', at + 1))), 1);
    store->sync();
    if (store->status() != QSettings::NoError)
        return ERROR_ACCESS_DENIED;
    if (lpdwDisposition)
        *lpdwDisposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *phkResult = NewKey(path);
    return ERROR_SUCCESS;
}

LONG RegQueryValueEx(HKEY hKey, LPCTSTR lpValueName, DWORD* /*lpReserved*/, DWORD* lpType, BYTE* lpData,
                     DWORD* lpcbData) {
    std::string path;
    if (!PathOf(hKey, &path))
        return ERROR_INVALID_HANDLE;
    if (lpData && !lpcbData)
        return ERROR_INVALID_PARAMETER;
    auto store = Store();
    const QString key = ValueKey(path, lpValueName);
    if (!store->contains(key + "/data"))
        return ERROR_FILE_NOT_FOUND;
    const QByteArray data = store->value(key + "/data").toByteArray();
    if (lpType)
        *lpType = store->value(key + "/type").toUInt();
    const auto size = static_cast<DWORD>(data.size());
    if (!lpData) {
        if (lpcbData)
            *lpcbData = size;
        return ERROR_SUCCESS;
    }
    if (*lpcbData < size) {
        *lpcbData = size;
        return ERROR_MORE_DATA;
    }
    std::memcpy(lpData, data.constData(), size);
    *lpcbData = size;
    return ERROR_SUCCESS;
}

LONG RegSetValueEx(HKEY hKey, LPCTSTR lpValueName, DWORD /*Reserved*/, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    std::string path;
    if (!PathOf(hKey, &path))
        return ERROR_INVALID_HANDLE;
    if (!lpData && cbData)
        return ERROR_INVALID_PARAMETER;
    QByteArray data(reinterpret_cast<const char*>(lpData), static_cast<qsizetype>(lpData ? cbData : 0));
    // A text always ends with its zero, as the platform stores it.
    if ((dwType == REG_SZ || dwType == REG_EXPAND_SZ) && (data.isEmpty() || data.back() != '\0'))
        data.append('\0');
    auto store = Store();
    const QString key = ValueKey(path, lpValueName);
    store->setValue(key + "/type", static_cast<uint>(dwType));
    store->setValue(key + "/data", data);
    store->sync();
    return store->status() == QSettings::NoError ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LONG RegDeleteValue(HKEY hKey, LPCTSTR lpValueName) {
    std::string path;
    if (!PathOf(hKey, &path))
        return ERROR_INVALID_HANDLE;
    auto store = Store();
    const QString key = ValueKey(path, lpValueName);
    if (!store->contains(key + "/data"))
        return ERROR_FILE_NOT_FOUND;
    store->remove(key);
    store->sync();
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) {
    if (!OpenKeys().count(hKey))
        return ERROR_INVALID_HANDLE;
    OpenKeys().erase(hKey);
    delete hKey;
    return ERROR_SUCCESS;
}
