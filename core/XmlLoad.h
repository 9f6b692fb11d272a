#pragma once

#include <string>
#include <string_view>

class TiXmlDocument;

// What each configuration file may hold. Real files are a few kilobytes. The largest installation the program is
// made for, a 16 x 16 wall with 20 scenes of 1,792 switches and 64 matrices of 1,024 named channels with their
// messages, has a matrix.xml of 76,000 elements, 139,000 attributes and 2.0 MiB of text and a system.xml of 36,000
// elements, 180,000 attributes and 3.1 MiB of text; command.xml is the wall's fixed command set of about a hundred
// commands. Each file's limits stand about twice above what it needs there: settings and matrices stay loaded for
// the whole run, at some 220 bytes an element and 150 an attribute, and command.xml is read again whenever the
// monitor remote opens.
//
// matrix.xml: each matrix is an entry of the Matrix page's list and a row of the matrix dialog, and each message of
// the matrix shown an entry of the page's command list; a real installation has up to 64 matrices of a few messages.
constexpr int kMaxMatrices = 256;
constexpr int kMaxMatrixMessages = 256;

struct XmlLimits {
    long long fileBytes; // the largest file read at all: it is held whole while it is parsed
    long long elements;  // every comment, run of text and other piece of markup the parser keeps counts as one too
    long long attributes;
    long long textBytes; // the bytes of every name, attribute value, text and comment together
    int matrices = 0;    // MATRIX elements under the root; 0 where they are not counted
    int messages = 0;    // MESSAGE elements in one MATRIX
};
constexpr XmlLimits kCommandFileLimits{1LL << 20, 4000, 12000, 256LL << 10};
constexpr XmlLimits kSettingsFileLimits{16LL << 20, 80000, 360000, 8LL << 20};
constexpr XmlLimits kMatrixFileLimits{16LL << 20, 160000, 300000, 6LL << 20, kMaxMatrices, kMaxMatrixMessages};
// The limits of the configuration file the path names ("command.xml", "system.xml" or "matrix.xml" in any folder);
// any other file may hold what the most generous of them allow.
XmlLimits XmlLimitsOf(const std::string& path);
// No file larger than this is read at all.
constexpr long long kMaxXmlFileBytes = 16LL << 20;

// The deepest element nesting. The parser recurses once per level and would run out of stack on a hostile file
// long before this matters.
constexpr int kMaxXmlDepth = 256;
// The parser looks for a duplicate among an element's attributes at each new one: many on one element would
// take it hours.
constexpr int kMaxXmlAttributesPerElement = 256;
// Why a file was not loaded.
enum class XmlLoadFault {
    kNone,
    kMissing,           // no such file (a link to nothing included)
    kUnreadable,        // opening or reading it failed
    kNotAFile,          // a folder, a pipe, a device
    kEmpty,             // nothing but white space
    kTooLarge,          // over its limits' fileBytes
    kTooDeep,           // nests deeper than kMaxXmlDepth
    kTooManyElements,   // over its limits' elements
    kTooManyAttributes, // over its limits' attributes
    kTooWideElement,    // an element with more than kMaxXmlAttributesPerElement
    kTooMuchText,       // over its limits' textBytes
    kTooManyMatrices,   // over its limits' matrices
    kTooManyMessages,   // a matrix with more than its limits' messages
    kOutOfMemory,       // the memory ran out while it was read
    kBroken,            // does not parse, or holds no element
    kNotGbk,            // its text is in another encoding
};

// How the loading of one file ended.
struct XmlLoadStatus {
    XmlLoadFault fault = XmlLoadFault::kNone;
    int line = 0;        // kBroken: the line the parser stopped at, from 1; 0 when it stopped nowhere in particular
    int error = 0;       // kUnreadable: the system's error number
    long long limit = 0; // over a limit: the limit
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
XmlShape MeasureXml(std::string_view bytes);

// The deepest element nesting in the bytes of an XML text (comments, CDATA, declarations and quoted attribute
// values do not count).
int XmlNestingDepth(const std::string& bytes);

// The first limit that a file of these bytes, parsed into the document, goes over, found as the loading finds it:
// kNone within all of them. A save measures what it is about to write with it, so that no file the program writes is
// refused when it is read again.
XmlLoadStatus XmlOverLimits(std::string_view bytes, const TiXmlDocument& document, const XmlLimits& limits);

// Loads the file in the legacy encoding (GBK bytes pass through unchanged). Only an ordinary file is opened,
// and without waiting: a pipe or a device never blocks the start-up. A UTF-8 byte-order mark in front, which
// editors write, is skipped. False, with the document left empty and the reason in *status, when the file is
// missing, unreadable, not an ordinary file, over a limit (its matrices and messages counted once it is parsed),
// does not parse, or holds text behind the mark that is not GBK; running out of memory while reading or parsing it
// is such a reason too.
bool LoadXmlFile(TiXmlDocument& document, const std::string& path, XmlLoadStatus* status = nullptr);
bool LoadXmlFile(TiXmlDocument& document, const std::string& path, XmlLoadFault* fault);

// A short English account of the fault for the operator, completing "<file> ..." ("is missing").
std::string XmlLoadFaultText(XmlLoadFault fault);
std::string XmlLoadStatusText(const XmlLoadStatus& status);
