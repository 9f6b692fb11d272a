#pragma once

#include <string>

class TiXmlDocument;

// The deepest element nesting a settings or definitions file may have. Real files nest a handful of levels;
// the parser recurses once per level and would run out of stack on a hostile file long before this matters.
constexpr int kMaxXmlDepth = 256;

// The largest settings or definitions file that is read. Real ones are a few kilobytes; the parser holds a file
// several times over in memory, so a file of gigabytes would exhaust it or stall the start-up for minutes.
constexpr long long kMaxXmlFileBytes = 64LL * 1024 * 1024;

// Why a file was not loaded.
enum class XmlLoadFault {
    kNone,
    kMissing,    // no such file
    kUnreadable, // not an ordinary file, or reading it failed
    kTooLarge,   // over kMaxXmlFileBytes
    kTooDeep,    // nests deeper than kMaxXmlDepth
    kBroken,     // does not parse
};

// The deepest element nesting in the bytes of an XML text (comments, CDATA, declarations and quoted attribute
// values do not count).
int XmlNestingDepth(const std::string& bytes);

// Loads the file in the legacy encoding (GBK bytes pass through unchanged). False, with the document left empty
// and the reason in *fault, when the file is missing, unreadable, too large, too deep or does not parse.
bool LoadXmlFile(TiXmlDocument& document, const std::string& path, XmlLoadFault* fault = nullptr);

// A short English account of the fault for the operator ("it is missing").
std::string XmlLoadFaultText(XmlLoadFault fault);
