#include "CommandXmlReader.h"

#include "CommandMap.h"
#include "XmlLoad.h"
#include "XmlNumber.h"

#include <cstring>

CCommandXmlReader::CCommandXmlReader(const std::string& path) : m_path(path), m_root(nullptr) {
    // A document that failed to load has no root, even where the parser kept what it read before the fault:
    // half a file is not applied.
    if (LoadXmlFile(m_document, m_path, &m_loadStatus))
        m_root = m_document.FirstChildElement();
}

int CCommandXmlReader::ReadCommands(CCommandMap& map) {
    if (!m_root)
        return 0;
    for (TiXmlElement* e = m_root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        if (std::strcmp(e->Value(), "CMD") != 0)
            continue;
        const char* name = e->Attribute("name");
        if (!name || !*name)
            continue;
        int code = 0;
        if (!ReadDecimalAttribute(*e, "code", code) || code == 0)
            continue;
        int param = 0;
        BOOL hasParam = e->Attribute("param") ? TRUE : FALSE;
        if (hasParam && !ReadDecimalAttribute(*e, "param", param))
            continue;
        map.Add(name, code, hasParam, param);
    }
    return 1;
}
