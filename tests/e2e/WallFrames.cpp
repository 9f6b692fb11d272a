#include "WallFrames.h"

#include <tinyxml.h>

#include <map>

namespace {

struct Definition {
    int code = 0;
    bool hasParam = false;
    int param = 0;
};

const std::map<std::string, Definition>& Definitions() {
    static const std::map<std::string, Definition> definitions = [] {
        std::map<std::string, Definition> read;
        TiXmlDocument document;
        document.LoadFile(VELTRANO_SOURCE_DIR "/res/command.xml", TIXML_ENCODING_LEGACY);
        const TiXmlElement* root = document.RootElement();
        for (const TiXmlElement* e = root ? root->FirstChildElement("CMD") : nullptr; e;
             e = e->NextSiblingElement("CMD")) {
            Definition d;
            e->QueryIntAttribute("code", &d.code);
            d.hasParam = e->QueryIntAttribute("param", &d.param) == TIXML_SUCCESS;
            read[e->Attribute("name") ? e->Attribute("name") : ""] = d;
        }
        return read;
    }();
    return definitions;
}

Definition Find(const std::string& command) {
    const auto found = Definitions().find(command);
    return found == Definitions().end() ? Definition{} : found->second;
}

} // namespace

std::vector<unsigned char> ShortFrame(const std::string& command, Area area, int value) {
    const Definition d = Find(command);
    return {0xD5,
            static_cast<unsigned char>(area.left * 16 | area.top),
            static_cast<unsigned char>(area.right * 16 | area.bottom),
            static_cast<unsigned char>(d.code),
            static_cast<unsigned char>(d.hasParam ? d.param : value),
            0xAA};
}

std::vector<unsigned char> WindowFrame(const std::string& command, Area area, const QRect& wall) {
    const Definition d = Find(command);
    const auto high = [](int v) { return static_cast<unsigned char>((v >> 8) & 0xFF); };
    const auto low = [](int v) { return static_cast<unsigned char>(v & 0xFF); };
    const int width = wall.right() - wall.left(), height = wall.bottom() - wall.top();
    return {0xD5,
            static_cast<unsigned char>(area.left * 16 | area.top),
            static_cast<unsigned char>(area.right * 16 | area.bottom),
            static_cast<unsigned char>(d.code),
            0,
            0xAB,
            high(wall.left()),
            low(wall.left()),
            high(wall.top()),
            low(wall.top()),
            high(width),
            low(width),
            high(height),
            low(height),
            0xAA};
}

QRect WallRectOf(const std::vector<unsigned char>& frame) {
    if (frame.size() != 15 || frame[0] != 0xD5 || frame[5] != 0xAB || frame[14] != 0xAA)
        return {};
    const auto word = [&](size_t i) { return frame[i] << 8 | frame[i + 1]; };
    const int left = word(6), top = word(8);
    return QRect(QPoint(left, top), QPoint(left + word(10), top + word(12)));
}
