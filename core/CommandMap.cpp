#include "CommandMap.h"

#include "CommandXmlReader.h"

#include <new>

CCommandMap::CCommandMap() = default;

CCommandMap* CCommandMap::GetInstance() {
    static CCommandMap* instance = new CCommandMap;
    return instance;
}

int CCommandMap::Load(const std::string& path) {
    // The definitions are read aside and moved in only once all of them were: a file that runs the memory out
    // half way through changes nothing. Moving map nodes over allocates nothing.
    CCommandMap read;
    int result = 0;
    try {
        CCommandXmlReader reader(path);
        m_loadStatus = reader.GetLoadStatus();
        result = reader.ReadCommands(read);
    } catch (const std::bad_alloc&) {
        m_loadStatus = XmlLoadStatus();
        m_loadStatus.fault = XmlLoadFault::kOutOfMemory;
        return 0;
    }
    for (auto it = read.m_commands.begin(); it != read.m_commands.end();) {
        auto known = m_commands.find(it->first);
        if (known == m_commands.end()) {
            ++it;
            continue;
        }
        known->second = it->second;
        it = read.m_commands.erase(it);
    }
    m_commands.merge(read.m_commands);
    return result;
}

int CCommandMap::Add(const std::string& name, int code, BOOL hasParam, int param) {
    CCommandDef def;
    def.code = LOBYTE(static_cast<uint32_t>(code));
    def.param = LOBYTE(static_cast<uint32_t>(param));
    def.hasParam = hasParam ? TRUE : FALSE;
    m_commands[name] = def;
    return 1;
}

CCommandDef CCommandMap::Lookup(const std::string& name) { return m_commands[name]; }

void CCommandMap::BuildWindowFrame(FrameBuffer& frame, const std::string& name, CRect wallRect, CRect area, int value) {
    CCommandDef def = Lookup(name);
    WindowFrame(frame, area, def.code, LOBYTE(static_cast<uint32_t>(value)), wallRect);
}

FrameBuffer CCommandMap::BuildShortFrame(const std::string& name, int left, int top, int right, int bottom, int value) {
    CCommandDef def = Lookup(name);
    FrameBuffer frame;
    BYTE byte4 = def.hasParam ? def.param : LOBYTE(static_cast<uint32_t>(value));
    ShortFrame(frame, CRect(left, top, right, bottom), def.code, byte4);
    return frame;
}
