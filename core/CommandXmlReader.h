#pragma once

#include "XmlLoad.h"

#include <string>
#include <tinyxml.h>

class CCommandMap;

// "command.xml" while it is read: the root's CMD children, in order, each a name, a code and an optional param.
class CCommandXmlReader {
public:
    explicit CCommandXmlReader(const std::string& path);
    CCommandXmlReader(const CCommandXmlReader&) = delete;
    CCommandXmlReader& operator=(const CCommandXmlReader&) = delete;

    // 0 when the document has no root element (the map is unchanged), else 1 after adding every valid CMD.
    // A CMD without a name, with a code that is missing, not a number or 0, or with a param that is present but
    // not a number, is skipped: a half-read definition would send bytes nobody wrote down.
    int ReadCommands(CCommandMap& map);
    // How the file's loading ended.
    const XmlLoadStatus& GetLoadStatus() const { return m_loadStatus; }

private:
    std::string m_path;
    TiXmlDocument m_document;
    TiXmlElement* m_root;
    XmlLoadStatus m_loadStatus;
};
