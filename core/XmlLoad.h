#pragma once

#include <string>

class TiXmlDocument;

// What a settings or definitions file may hold. Real files are a few kilobytes. The largest a real installation
// needs, a 16 x 16 wall with 20 scenes of 1,792 switches and 64 matrices of 1,024 named channels with their
// messages, has a matrix.xml of 76,000 elements, 143,000 attributes and 2.2 MiB of text, and a system.xml of
// 36,000 elements, 180,000 attributes and 3.4 MiB of text. The limits stand several times above that and keep
// what any file that is read costs in memory within about 220 MiB: the parser spends some 220 bytes on an
// element and 125 on an attribute, the matrices built from the elements up to as much again, short texts twice
// their length, and the whole file is held while it is parsed.

// The deepest element nesting. The parser recurses once per level and would run out of stack on a hostile file
// long before this matters.
constexpr int kMaxXmlDepth = 256;
// The largest file that is read at all.
constexpr long long kMaxXmlFileBytes = 64LL * 1024 * 1024;
// Elements; every comment, run of text and other piece of markup the parser keeps counts as one too.
constexpr long long kMaxXmlElements = 250000;
constexpr long long kMaxXmlAttributes = 750000;
// The parser looks for a duplicate among an element's attributes at each new one: many on one element would
// take it hours.
constexpr int kMaxXmlAttributesPerElement = 256;
// The bytes of every name, attribute value, text and comment together.
constexpr long long kMaxXmlTextBytes = 16LL * 1024 * 1024;

// Why a file was not loaded.
enum class XmlLoadFault {
    kNone,
    kMissing,           // no such file (a link to nothing included)
    kUnreadable,        // opening or reading it failed
    kNotAFile,          // a folder, a pipe, a device
    kEmpty,             // nothing but white space
    kTooLarge,          // over kMaxXmlFileBytes
    kTooDeep,           // nests deeper than kMaxXmlDepth
    kTooManyElements,   // over kMaxXmlElements
    kTooManyAttributes, // over kMaxXmlAttributes
    kTooWideElement,    // an element with more than kMaxXmlAttributesPerElement
    kTooMuchText,       // over kMaxXmlTextBytes
    kOutOfMemory,       // the memory ran out while it was read
    kBroken,            // does not parse, or holds no element
    kNotGbk,            // its text is in another encoding
};

// How the loading of one file ended.
struct XmlLoadStatus {
    XmlLoadFault fault = XmlLoadFault::kNone;
    int line = 0;  // kBroken: the line the parser stopped at, from 1; 0 when it stopped nowhere in particular
    int error = 0; // kUnreadable: the system's error number
};

// What the parser would build from the bytes of an XML text, counted without building it: never less than the
// parser builds, up to where it would give up.
struct XmlShape {
    int deepest = 0;        // element nesting
    long long elements = 0; // elements, and runs of text, comments and other markup
    long long attributes = 0;
    int widest = 0;          // the most attributes on one element
    long long textBytes = 0; // names, attribute values, text, comments, markup
};
XmlShape MeasureXml(const std::string& bytes);

// The deepest element nesting in the bytes of an XML text (comments, CDATA, declarations and quoted attribute
// values do not count).
int XmlNestingDepth(const std::string& bytes);

// Loads the file in the legacy encoding (GBK bytes pass through unchanged). Only an ordinary file is opened,
// and without waiting: a pipe or a device never blocks the start-up. A UTF-8 byte-order mark in front, which
// editors write, is skipped. False, with the document left empty and the reason in *status, when the file is
// missing, unreadable, not an ordinary file, over a limit, does not parse, or holds text behind the mark that
// is not GBK; running out of memory while reading or parsing it is such a reason too.
bool LoadXmlFile(TiXmlDocument& document, const std::string& path, XmlLoadStatus* status = nullptr);
bool LoadXmlFile(TiXmlDocument& document, const std::string& path, XmlLoadFault* fault);

// A short English account of the fault for the operator, completing "<file> ..." ("is missing").
std::string XmlLoadFaultText(XmlLoadFault fault);
std::string XmlLoadStatusText(const XmlLoadStatus& status);
