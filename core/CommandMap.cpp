#include "CommandMap.h"

#include "CommandXmlReader.h"

CCommandMap::CCommandMap() = default;

CCommandMap* CCommandMap::GetInstance() {
    static CCommandMap* instance = new CCommandMap;
    return instance;
}

int CCommandMap::Load(const std::string& path) {
    CCommandXmlReader reader(path);
    return reader.ReadCommands(*this);
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
