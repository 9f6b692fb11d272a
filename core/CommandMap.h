#pragma once

#include "WallFrame.h"
#include "XmlLoad.h"
#include "platform/os/Rect.h"
#include "platform/os/Types.h"

#include <map>
#include <string>

// One wall command: its code and, optionally, a fixed parameter byte.
struct CCommandDef {
    BYTE code = 0;
    BYTE param = 0;
    BOOL hasParam = FALSE;
};

// The wall commands by name (exact, byte-wise), as "command.xml" defines them. One map serves the process.
class CCommandMap {
public:
    CCommandMap();

    // The process's map, created empty on first use and never freed.
    static CCommandMap* GetInstance();

    // Adds the file's definitions; 0 when the file gave no root element (the map is unchanged), else 1. A file
    // that runs the memory out while it is read leaves the map unchanged too.
    int Load(const std::string& path);
    // How the last load ended; kMissing before the first.
    const XmlLoadStatus& GetLoadStatus() const { return m_loadStatus; }
    // Stores the low bytes of code and param under the name, replacing an earlier definition; 1.
    int Add(const std::string& name, int code, BOOL hasParam, int param);
    // The definition; an unknown name is entered with code 0 and no param, and that is returned.
    CCommandDef Lookup(const std::string& name);

    // The window frame for the named command, with the caller's value in byte 4.
    void BuildWindowFrame(FrameBuffer& frame, const std::string& name, CRect wallRect, CRect area, int value);
    // The short frame: byte 4 is the definition's param when it has one, else the caller's value.
    FrameBuffer BuildShortFrame(const std::string& name, int left, int top, int right, int bottom, int value);

    size_t GetCount() const { return m_commands.size(); }

private:
    std::map<std::string, CCommandDef> m_commands;
    XmlLoadStatus m_loadStatus{XmlLoadFault::kMissing, 0, 0};
};
