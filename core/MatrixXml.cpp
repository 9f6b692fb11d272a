#include "MatrixXml.h"

#include "BytesSegment.h"
#include "ChannelTable.h"
#include "CheckOpertion.h"
#include "ConvertOperation.h"
#include "ErrorMessage.h"
#include "InSegment.h"
#include "Matrix.h"
#include "MatrixMgr.h"
#include "Message.h"
#include "OutSegment.h"
#include "PrimeOperation.h"
#include "VerifySegment.h"
#include "WallDefaults.h"
#include "XmlLoad.h"
#include "XmlSave.h"
#include "platform/os/String.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <tinyxml.h>

namespace {

// Start values where the file leaves a number out.
constexpr int kDefaultFollowupDelay = 0;
constexpr int kDefaultAlphaWidth = 1;
constexpr int kDefaultChannelCount = 0;

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The decimal number at the start of the text: blanks and a sign may lead, reading stops at the first
// non-digit. false (value untouched) when no digit follows, or the number does not fit 32 bits.
bool LeadingNumber(const char* text, int& value) {
    if (!text)
        return false;
    while (IsSpace(*text))
        ++text;
    const char* digits = (*text == '+' || *text == '-') ? text + 1 : text;
    if (*digits < '0' || *digits > '9')
        return false;
    errno = 0;
    long parsed = std::strtol(text, nullptr, 10);
    if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

int NumberAttribute(const TiXmlElement* element, const char* name, int fallback) {
    int value = fallback;
    LeadingNumber(element->Attribute(name), value);
    return value;
}

std::string TextAttribute(const TiXmlElement* element, const char* name) {
    const char* text = element->Attribute(name);
    return text ? text : "";
}

std::string Lower(const char* text) {
    CString s(text);
    s.MakeLower();
    return s.Str();
}

bool Is(const TiXmlElement* element, const char* tag) { return std::strcmp(element->Value(), tag) == 0; }

// The text a channel name stands for when it is only its own number: such a name is not written.
bool IsDefaultChannelName(int number, const std::string& name) { return name == std::to_string(number); }

} // namespace

CMatrixXml::CMatrixXml(const std::string& path, CMatrixMgr* owner)
    : m_path(path), m_owner(owner), m_document(std::make_unique<TiXmlDocument>()), m_root(nullptr), m_loadStatus() {
    if (LoadXmlFile(*m_document, m_path, &m_loadStatus))
        m_root = m_document->RootElement();
}

void CMatrixXml::Discard(XmlLoadFault fault) {
    m_document->Clear();
    m_root = nullptr;
    m_loadStatus = XmlLoadStatus();
    m_loadStatus.fault = fault;
}

CMatrixXml::~CMatrixXml() = default;

int CMatrixXml::ReadMatrices() {
    if (!m_root || !m_owner)
        return 0;
    for (TiXmlElement* e = m_root->FirstChildElement("MATRIX"); e; e = e->NextSiblingElement("MATRIX")) {
        auto matrix = std::make_unique<CMatrix>(TextAttribute(e, "name"), ParseSignalType(TextAttribute(e, "type")));
        CMatrix* m = matrix.get();
        m_owner->AddMatrix(std::move(matrix));
        ReadMatrix(e, m);
    }
    return 0;
}

int CMatrixXml::ReadMatrix(TiXmlElement* element, CMatrix* matrix) {
    if (!element || !matrix)
        return kResultInvalidParam;
    for (TiXmlElement* e = element->FirstChildElement("MESSAGE"); e; e = e->NextSiblingElement("MESSAGE")) {
        auto message = std::make_unique<CMessage>(TextAttribute(e, "name"));
        CMessage* m = message.get();
        matrix->AddMessage(std::move(message));
        ReadMessage(e, m);
    }
    if (TiXmlElement* signal = element->FirstChildElement("SIGNAL"))
        matrix->SetSignal(TextAttribute(signal, "type"), TextAttribute(signal, "grow_type"));
    if (TiXmlElement* comm = element->FirstChildElement("COMM"))
        ReadComm(comm, matrix);
    auto table = std::make_unique<CChannelTable>();
    CChannelTable* t = table.get();
    matrix->SetChannelTable(std::move(table));
    ReadChannel(element->FirstChildElement("CHANNEL"), t);
    return 0;
}

int CMatrixXml::ReadMessage(TiXmlElement* element, CMessage* message) {
    if (!element || !message)
        return kResultInvalidParam;
    message->SetFollowup(TextAttribute(element, "followup_item"),
                         NumberAttribute(element, "followup_delay", kDefaultFollowupDelay));
    for (TiXmlElement* e = element->FirstChildElement(); e; e = e->NextSiblingElement()) {
        if (Is(e, "BYTES"))
            ReadBytesSegment(e, message);
        else if (Is(e, "IN") || Is(e, "LOWIN") || Is(e, "HIGHIN"))
            ReadInSegment(e, message);
        else if (Is(e, "OUT"))
            ReadOutSegment(e, message);
        else if (Is(e, "CHKPLUS") || Is(e, "CHKXOR"))
            ReadVerifySegment(e, message);
    }
    return 0;
}

int CMatrixXml::ReadBytesSegment(TiXmlElement* element, CMessage* message) {
    if (!element || !message)
        return kResultInvalidParam;
    const char* text = element->GetText();
    auto segment = std::make_unique<CBytesSegment>(message, text ? text : "");
    CMsgSegment* s = segment.get();
    message->AddSegment(std::move(segment));
    std::string type = Lower(element->Attribute("type"));
    int kind = type == "alpha"    ? kOpTextBytes
               : type == "hex"    ? kOpHexTextToNumber
               : type == "number" ? kOpDecimalTextToNumber
                                  : 0;
    if (kind)
        s->AddOperation(std::make_unique<CConvertOperation>(s, kind));
    return 0;
}

int CMatrixXml::ReadInSegment(TiXmlElement* element, CMessage* message) {
    if (!element || !message)
        return kResultInvalidParam;
    auto segment = std::make_unique<CInSegment>(message, element->Value());
    CMsgSegment* s = segment.get();
    message->AddSegment(std::move(segment));
    ReadOperations(s, element);
    ReadConversion(s, element);
    return 0;
}

int CMatrixXml::ReadOutSegment(TiXmlElement* element, CMessage* message) {
    if (!element || !message)
        return kResultInvalidParam;
    auto segment = std::make_unique<COutSegment>(message, "OUT");
    CMsgSegment* s = segment.get();
    message->AddSegment(std::move(segment));
    ReadOperations(s, element);
    ReadConversion(s, element);
    return 0;
}

int CMatrixXml::ReadVerifySegment(TiXmlElement* element, CMessage* message) {
    if (!element || !message)
        return kResultInvalidParam;
    auto segment = std::make_unique<CVerifySegment>(message, element->Value());
    CMsgSegment* s = segment.get();
    message->AddSegment(std::move(segment));
    // A range end the file leaves out stays 0.
    int kind = Is(element, "CHKPLUS") ? kOpCheckSum : kOpCheckXor;
    s->AddOperation(std::make_unique<CCheckOpertion>(s, kind, NumberAttribute(element, "from", 0),
                                                     NumberAttribute(element, "to", 0)));
    ReadOperations(s, element);
    return 0;
}

int CMatrixXml::ReadOperations(CMsgSegment* segment, TiXmlElement* element) {
    if (!segment || !element)
        return kResultInvalidParam;
    for (TiXmlElement* e = element->FirstChildElement("do"); e; e = e->NextSiblingElement("do")) {
        const TiXmlAttribute* first = e->FirstAttribute();
        if (!first)
            continue;
        const char* name = first->Name();
        int kind = std::strcmp(name, "plus") == 0  ? kOpPlus
                   : std::strcmp(name, "div") == 0 ? kOpDiv
                   : std::strcmp(name, "mod") == 0 ? kOpMod
                   : std::strcmp(name, "and") == 0 ? kOpAnd
                                                   : 0;
        if (!kind)
            continue;
        int operand = 0;
        LeadingNumber(first->Value(), operand);
        segment->AddOperation(std::make_unique<CPrimeOperation>(segment, kind, operand));
    }
    return 0;
}

int CMatrixXml::ReadConversion(CMsgSegment* segment, TiXmlElement* element) {
    if (!segment || !element)
        return kResultInvalidParam;
    // Only a type that stands first on the element converts: the files in use rely on it.
    const TiXmlAttribute* first = element->FirstAttribute();
    if (!first || Lower(first->Name()) != "type")
        return 0;
    std::string type = Lower(first->Value());
    if (type == "hex")
        segment->AddOperation(std::make_unique<CConvertOperation>(segment, kOpToHexText));
    else if (type == "alpha")
        segment->AddOperation(std::make_unique<CConvertOperation>(
            segment, kOpToDecimalText, NumberAttribute(element, "width", kDefaultAlphaWidth)));
    else if (type == "number")
        segment->AddOperation(std::make_unique<CConvertOperation>(segment, kOpKeepNumber));
    return 0;
}

int CMatrixXml::ReadComm(TiXmlElement* element, CMatrix* matrix) {
    if (!element || !matrix)
        return kResultInvalidParam;
    if (Lower(element->Attribute("indep")) != "true") {
        matrix->SetPort(FALSE, nullptr);
        return 0;
    }
    // Numbers left out, or that no port can be opened with, are those of a fresh record: 9600 baud, 8 data
    // bits, no parity, one stop bit.
    auto number = [element](const char* name, int fallback, bool (*valid)(int)) {
        const int value = NumberAttribute(element, name, fallback);
        return valid(value) ? value : fallback;
    };
    auto port = std::make_unique<CCommPortSetting>();
    port->SetSettings(TextAttribute(element, "port"), number("baudrate", kDefaultBaudRate, IsBaudRate),
                      number("databit", kDefaultDataBits, IsDataBits), number("stopbit", kDefaultStopBits, IsStopBits),
                      number("parity", kDefaultParity, IsParity));
    matrix->SetPort(TRUE, port.release());
    return 0;
}

int CMatrixXml::ReadChannel(TiXmlElement* element, CChannelTable* table) {
    if (!element || !table)
        return kResultInvalidParam;
    // A negative count holds no channels.
    table->SetCount(std::max(NumberAttribute(element, "count", kDefaultChannelCount), 0));
    for (TiXmlElement* e = element->FirstChildElement("ITEM"); e; e = e->NextSiblingElement("ITEM")) {
        int id = 0;
        // An ITEM that names no channel cannot be placed.
        if (!LeadingNumber(e->Attribute("id"), id))
            continue;
        table->SetName(id, TextAttribute(e, "name"));
    }
    return 0;
}

TiXmlElement* CMatrixXml::FindMatrixElement(const std::string& name) const {
    for (TiXmlElement* e = m_root->FirstChildElement("MATRIX"); e; e = e->NextSiblingElement("MATRIX"))
        if (TextAttribute(e, "name") == name)
            return e;
    return nullptr;
}

void CMatrixXml::RewriteMatrix(TiXmlElement* element, CMatrix* matrix) {
    if (TiXmlElement* comm = element->FirstChildElement("COMM"))
        element->RemoveChild(comm);
    if (TiXmlElement* channel = element->FirstChildElement("CHANNEL"))
        element->RemoveChild(channel);
    element->SetAttribute("name", matrix->GetName().c_str());
    element->SetAttribute("type", SignalTypeToName(matrix->GetSignalType()).c_str());
    WriteComm(element, matrix);
    WriteChannel(element, matrix);
}

int CMatrixXml::SaveMatrix(const std::string& oldName, CMatrix* matrix) {
    if (!matrix)
        return kResultInvalidParam;
    // Without a loaded document there is nothing to write into; writing would replace a broken file with
    // an empty one.
    if (!m_root) {
        ShowSaveFailure(m_path, "it " + XmlLoadStatusText(m_loadStatus));
        return kResultFailed;
    }
    TiXmlElement* found = FindMatrixElement(oldName);
    std::unique_ptr<TiXmlNode> before(found ? found->Clone() : nullptr);
    if (found)
        RewriteMatrix(found, matrix);
    switch (SaveXmlFileTelling(*m_document, m_path)) {
    case XmlSaveOutcome::kSaved:
    case XmlSaveOutcome::kUnsynced: return 0;
    case XmlSaveOutcome::kFailed: return kResultFailed;
    case XmlSaveOutcome::kOverLimit: break;
    }
    // Every later save would be refused with it.
    if (before)
        m_root->ReplaceChild(found, *before);
    return kResultNotSaved;
}

bool CMatrixXml::TakesMatrix(const std::string& oldName, CMatrix* matrix) {
    TiXmlElement* found = m_root && matrix ? FindMatrixElement(oldName) : nullptr;
    if (!found)
        return true;
    const std::unique_ptr<TiXmlNode> before(found->Clone());
    RewriteMatrix(found, matrix);
    const bool fits = FitsXmlFileTelling(*m_document, m_path);
    m_root->ReplaceChild(found, *before);
    return fits;
}

int CMatrixXml::WriteComm(TiXmlElement* element, CMatrix* matrix) {
    if (!element || !matrix)
        return kResultInvalidParam;
    BOOL own = FALSE;
    CCommPortSetting* port = matrix->GetPort(own);
    auto* comm = new TiXmlElement("COMM");
    comm->SetAttribute("indep", own ? "true" : "false");
    if (port) {
        comm->SetAttribute("port", port->m_portName.c_str());
        comm->SetAttribute("baudrate", port->m_baudRate);
        comm->SetAttribute("stopbit", port->m_stopBits);
        comm->SetAttribute("databit", port->m_dataBits);
        comm->SetAttribute("parity", port->m_parity);
    }
    element->LinkEndChild(comm);
    return 0;
}

int CMatrixXml::WriteChannel(TiXmlElement* element, CMatrix* matrix) {
    if (!element || !matrix)
        return kResultInvalidParam;
    CChannelTable* table = matrix->GetChannelTable();
    if (!table)
        return 0;
    auto* channel = new TiXmlElement("CHANNEL");
    channel->SetAttribute("count", table->GetCount());
    int number = 0;
    std::string name;
    for (CChannelTable::Position p = table->Begin(); table->GetEntry(p, number, name); p = table->Next(p)) {
        if (IsDefaultChannelName(number, name))
            continue;
        auto* item = new TiXmlElement("ITEM");
        item->SetAttribute("id", number);
        item->SetAttribute("name", name.c_str());
        channel->LinkEndChild(item);
    }
    element->LinkEndChild(channel);
    return 0;
}
