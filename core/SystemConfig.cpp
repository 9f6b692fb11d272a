#include "SystemConfig.h"

#include "CommPort.h"
#include "ErrorMessage.h"
#include "LcdWallLayout.h"
#include "SceneModel.h"
#include "WallDefaults.h"
#include "XmlLoad.h"
#include "XmlNumber.h"
#include "XmlSave.h"

#include <tinyxml.h>

#include <functional>

namespace {

std::string TextAttribute(const TiXmlElement* element, const char* name) {
    const char* value = element->Attribute(name);
    return value ? std::string(value) : std::string();
}

// Numbers that are missing or not numbers leave the variable as it was.
void NumberAttribute(const TiXmlElement* element, const char* name, int& value) {
    ReadDecimalAttribute(*element, name, value);
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

int LoadCommElement(const TiXmlElement* comm, std::string& port, int& baud, int& dataBits, int& stopBits, int& parity) {
    if (!comm)
        return 0;
    port = TextAttribute(comm, "port");
    // A number no port can be opened with is read as a missing one: the caller's value stays.
    auto number = [comm](const char* name, int& value, bool (*valid)(int)) {
        int read = 0;
        if (ReadDecimalAttribute(*comm, name, read) && valid(read))
            value = read;
    };
    number("baudrate", baud, IsBaudRate);
    number("databit", dataBits, IsDataBits);
    number("stopbit", stopBits, IsStopBits);
    number("parity", parity, IsParity);
    return 1;
}

void SetCommElement(TiXmlElement* comm, const std::string& port, int baud, int dataBits, int stopBits, int parity) {
    comm->SetAttribute("port", port.c_str());
    comm->SetAttribute("baudrate", baud);
    comm->SetAttribute("databit", dataBits);
    comm->SetAttribute("stopbit", stopBits);
    comm->SetAttribute("parity", parity);
}

void RemoveChildren(TiXmlElement* element) {
    while (TiXmlNode* child = element->FirstChild())
        element->RemoveChild(child);
}

} // namespace

CSystemConfig::CSystemConfig() : m_loaded(FALSE), m_document(new TiXmlDocument), m_root(nullptr) {
    m_loadStatus.fault = XmlLoadFault::kMissing;
}

CSystemConfig* CSystemConfig::GetInstance() {
    static CSystemConfig* instance = new CSystemConfig;
    return instance;
}

int CSystemConfig::Load(const std::string& path) {
    if (m_loaded)
        return 1;
    m_loaded = TRUE;
    m_path = path;
    // A missing or broken file leaves no root: every reader then finds its section absent, every writer
    // writes nothing, so a broken file is never overwritten by a near-empty one.
    if (LoadXmlFile(*m_document, path, &m_loadStatus))
        m_root = m_document->RootElement();
    return 1;
}

TiXmlElement* CSystemConfig::Section(const char* name) const {
    return m_root ? m_root->FirstChildElement(name) : nullptr;
}

TiXmlElement* CSystemConfig::Section(const char* parent, const char* name) const {
    TiXmlElement* outer = Section(parent);
    return outer ? outer->FirstChildElement(name) : nullptr;
}

TiXmlElement* CSystemConfig::WritableSection(const char* name) {
    if (!m_root) {
        ShowSaveFailure(m_path, "it " + XmlLoadStatusText(m_loadStatus));
        return nullptr;
    }
    TiXmlElement* section = Section(name);
    if (!section)
        ShowSaveFailure(m_path, std::string("it has no ") + name + " section");
    return section;
}

TiXmlElement* CSystemConfig::WritableSection(const char* parent, const char* name) {
    TiXmlElement* outer = WritableSection(parent);
    if (!outer)
        return nullptr;
    TiXmlElement* section = outer->FirstChildElement(name);
    if (!section)
        ShowSaveFailure(m_path, std::string("it has no ") + parent + "/" + name + " section");
    return section;
}

int CSystemConfig::WriteChange(TiXmlElement* section, const std::function<void(TiXmlElement*)>& change) {
    const std::unique_ptr<TiXmlNode> before(section->Clone());
    change(section);
    // A failed write leaves the previous file whole; the change stays in memory and goes out with the next write
    // that succeeds. A change the file's limits refuse goes: every later write would be refused with it.
    if (SaveXmlFileTelling(*m_document, m_path) != XmlSaveOutcome::kOverLimit)
        return 0;
    if (before)
        section->Parent()->ReplaceChild(section, *before);
    return kResultNotSaved;
}

int CSystemConfig::LoadComm(std::string& port, int& baud, int& dataBits, int& stopBits, int& parity) {
    return LoadCommElement(Section("COMM"), port, baud, dataBits, stopBits, parity);
}

int CSystemConfig::LoadMonitorComm(std::string& port, int& baud, int& dataBits, int& stopBits, int& parity) {
    return LoadCommElement(Section("MONITORCTRL", "COMM"), port, baud, dataBits, stopBits, parity);
}

int CSystemConfig::LoadFrameEffect(BOOL& enabled, BYTE& horizontal, BYTE& vertical) {
    const TiXmlElement* effect = Section("FRAMEEFFECT");
    if (!effect)
        return 1;
    enabled = Lower(TextAttribute(effect, "enable")) == "true" ? TRUE : FALSE;
    int h = kDefaultFrameEffectValue;
    int v = kDefaultFrameEffectValue;
    NumberAttribute(effect, "horizontal", h);
    NumberAttribute(effect, "vertical", v);
    horizontal = LOBYTE(static_cast<uint32_t>(h));
    vertical = LOBYTE(static_cast<uint32_t>(v));
    return 1;
}

int CSystemConfig::LoadMatrixPage(int& itemX1, int& item02, int& item12, int& item22, int& item32) {
    const TiXmlElement* page = Section("MATRIXPAGE");
    if (!page)
        return 1;
    NumberAttribute(page, "itemX1", itemX1);
    NumberAttribute(page, "item02", item02);
    NumberAttribute(page, "item12", item12);
    NumberAttribute(page, "item22", item22);
    NumberAttribute(page, "item32", item32);
    return 1;
}

BOOL CSystemConfig::IsPipEnabled() {
    const TiXmlElement* pip = Section("COMPONENT", "PIP");
    return (pip && TextAttribute(pip, "enable") == "true") ? TRUE : FALSE;
}

int CSystemConfig::LoadPixel(int& index) {
    index = kDefaultResolutionIndex;
    if (const TiXmlElement* wall = Section("LCDWALL"))
        NumberAttribute(wall, "pixel", index);
    return 1;
}

int CSystemConfig::LoadRowCol(int& rows, int& cols) {
    if (const TiXmlElement* wall = Section("LCDWALL")) {
        NumberAttribute(wall, "row", rows);
        NumberAttribute(wall, "col", cols);
    }
    return 1;
}

int CSystemConfig::LoadSystemInfo(std::string& name, std::string& version, std::string& company, std::string& title) {
    if (const TiXmlElement* info = Section("SYSTEMINFO")) {
        name = TextAttribute(info, "name");
        version = TextAttribute(info, "version");
        company = TextAttribute(info, "company");
        title = TextAttribute(info, "title");
    }
    return 1;
}

int CSystemConfig::LoadOutputMapping(CLcdWallLayout* layout) {
    if (!layout)
        return 0;
    const TiXmlElement* mapping = Section("LCDWALL", "OUTPUT_MAPPING");
    if (!mapping)
        return 1;
    for (const TiXmlElement* item = mapping->FirstChildElement("ITEM"); item; item = item->NextSiblingElement("ITEM")) {
        // An item that does not name its unit and output fully is skipped: guessing could remap a unit.
        int row = 0, col = 0, output = 0;
        if (ReadDecimalAttribute(*item, "row", row) && ReadDecimalAttribute(*item, "col", col) &&
            ReadDecimalAttribute(*item, "output", output))
            layout->SetOutput(row, col, output);
    }
    return 1;
}

void CSystemConfig::LoadScenes(CSceneModel* model) {
    const TiXmlElement* scenes = Section("SCENE");
    if (!model || !scenes)
        return;
    // An item without an area attribute takes that value from the item before it.
    int left = 0, top = 0, right = 0, bottom = 0;
    for (const TiXmlElement* item = scenes->FirstChildElement("ITEM"); item; item = item->NextSiblingElement("ITEM")) {
        NumberAttribute(item, "left", left);
        NumberAttribute(item, "top", top);
        NumberAttribute(item, "right", right);
        NumberAttribute(item, "bottom", bottom);
        int id = 0;
        if (!ReadDecimalAttribute(*item, "id", id))
            continue; // a scene without a slot number has no slot to go to
        model->SetScene(id, TextAttribute(item, "name"), CRect(left, top, right, bottom));
    }
}

TiXmlElement* CSystemConfig::FindSceneItem(const std::string& name) {
    TiXmlElement* scenes = Section("SCENE");
    if (!scenes)
        return nullptr;
    for (TiXmlElement* item = scenes->FirstChildElement("ITEM"); item; item = item->NextSiblingElement("ITEM")) {
        const char* itemName = item->Attribute("name");
        if (itemName && name == itemName)
            return item;
    }
    return nullptr;
}

int CSystemConfig::LoadMatrixRecords(CSceneModel* model, const std::string& name) {
    const TiXmlElement* item = FindSceneItem(name);
    if (!item)
        return -1;
    for (const TiXmlElement* rec = item->FirstChildElement("MATRIXREC"); rec;
         rec = rec->NextSiblingElement("MATRIXREC")) {
        // A record without its input or output, or with a negative one, would replay a switch nobody recorded:
        // skip it. Inputs and outputs are kept whole: matrices with wide channels send them in two bytes.
        int input = 0, output = 0;
        if (!ReadDecimalAttribute(*rec, "input", input) || !ReadDecimalAttribute(*rec, "output", output) || input < 0 ||
            output < 0)
            continue;
        MatrixRecord record;
        record.matrix = TextAttribute(rec, "matrix");
        record.msg = TextAttribute(rec, "msg");
        record.input = input;
        record.output = output;
        record.port = TextAttribute(rec, "port");
        model->AppendRecord(record);
    }
    return 0;
}

int CSystemConfig::SaveComm(const std::string& port, int baud, int dataBits, int stopBits, int parity) {
    if (TiXmlElement* comm = WritableSection("COMM"))
        WriteChange(comm, [&](TiXmlElement* e) { SetCommElement(e, port, baud, dataBits, stopBits, parity); });
    return 0;
}

int CSystemConfig::SaveMonitorComm(const std::string& port, int baud, int dataBits, int stopBits, int parity) {
    TiXmlElement* comm = WritableSection("MONITORCTRL", "COMM");
    if (!comm)
        return -1;
    WriteChange(comm, [&](TiXmlElement* e) { SetCommElement(e, port, baud, dataBits, stopBits, parity); });
    return 0;
}

int CSystemConfig::SaveFrameEffect(BOOL enabled, BYTE horizontal, BYTE vertical) {
    if (TiXmlElement* effect = WritableSection("FRAMEEFFECT"))
        WriteChange(effect, [&](TiXmlElement* e) {
            e->SetAttribute("enable", enabled ? "true" : "false");
            e->SetAttribute("horizontal", horizontal);
            e->SetAttribute("vertical", vertical);
        });
    return 0;
}

int CSystemConfig::SaveMatrixPage(int itemX1, int item02, int item12, int item22, int item32) {
    if (TiXmlElement* page = WritableSection("MATRIXPAGE"))
        WriteChange(page, [&](TiXmlElement* e) {
            e->SetAttribute("itemX1", itemX1);
            e->SetAttribute("item02", item02);
            e->SetAttribute("item12", item12);
            e->SetAttribute("item22", item22);
            e->SetAttribute("item32", item32);
        });
    return 1;
}

int CSystemConfig::SaveRowCol(int rows, int cols) {
    if (TiXmlElement* wall = WritableSection("LCDWALL"))
        WriteChange(wall, [&](TiXmlElement* e) {
            e->SetAttribute("row", rows);
            e->SetAttribute("col", cols);
        });
    return 0;
}

int CSystemConfig::SavePixel(int index) {
    if (TiXmlElement* wall = WritableSection("LCDWALL"))
        WriteChange(wall, [&](TiXmlElement* e) { e->SetAttribute("pixel", index); });
    return 1;
}

void CSystemConfig::SetOutputMapping(TiXmlElement* wall, CLcdWallLayout* layout) {
    TiXmlElement* mapping = wall->FirstChildElement("OUTPUT_MAPPING");
    if (!mapping)
        mapping = wall->InsertEndChild(TiXmlElement("OUTPUT_MAPPING"))->ToElement();
    RemoveChildren(mapping);

    int rows = 0, cols = 0;
    layout->GetRowCol(rows, cols);
    for (int row = 1; row <= rows; ++row) {
        for (int col = 1; col <= cols; ++col) {
            const int output = layout->GetOutput(row, col);
            if (output == 0)
                continue;
            TiXmlElement item("ITEM");
            item.SetAttribute("row", row);
            item.SetAttribute("col", col);
            item.SetAttribute("output", output);
            mapping->InsertEndChild(item);
        }
    }
}

int CSystemConfig::SaveOutputMapping(CLcdWallLayout* layout) {
    if (!layout)
        return kResultInvalidParam;
    // Without LCDWALL there is nothing to write into, as for the other LCDWALL writers.
    if (TiXmlElement* wall = WritableSection("LCDWALL"))
        WriteChange(wall, [&](TiXmlElement* e) { SetOutputMapping(e, layout); });
    return 0;
}

int CSystemConfig::SaveRowColAndMapping(CLcdWallLayout* layout) {
    if (!layout)
        return kResultInvalidParam;
    if (TiXmlElement* wall = WritableSection("LCDWALL"))
        WriteChange(wall, [&](TiXmlElement* e) {
            int rows = 0, cols = 0;
            layout->GetRowCol(rows, cols);
            e->SetAttribute("row", rows);
            e->SetAttribute("col", cols);
            SetOutputMapping(e, layout);
        });
    return 0;
}

int CSystemConfig::SaveScene(CSceneModel* model, const std::string& name, int left, int top, int right, int bottom) {
    TiXmlElement* item = FindSceneItem(name);
    if (!item)
        return -1;
    return WriteChange(item, [&](TiXmlElement* e) {
        RemoveChildren(e);
        e->SetAttribute("top", top);
        e->SetAttribute("left", left);
        e->SetAttribute("bottom", bottom);
        e->SetAttribute("right", right);
        for (auto it = model->GetRecordsBegin(); it != model->GetRecordsEnd(); it = model->NextRecord(it)) {
            const MatrixRecord record = model->GetRecord(it);
            TiXmlElement rec("MATRIXREC");
            rec.SetAttribute("matrix", record.matrix.c_str());
            rec.SetAttribute("msg", record.msg.c_str());
            rec.SetAttribute("port", record.port.c_str());
            rec.SetAttribute("input", record.input);
            rec.SetAttribute("output", record.output);
            e->InsertEndChild(rec);
        }
    });
}

int CSystemConfig::RenameScene(const std::string& oldName, const std::string& newName) {
    TiXmlElement* item = FindSceneItem(oldName);
    if (!item)
        return -1;
    return WriteChange(item, [&](TiXmlElement* e) { e->SetAttribute("name", newName.c_str()); });
}
