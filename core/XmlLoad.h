#pragma once

#include <string>

class TiXmlDocument;

// The deepest element nesting a settings or definitions file may have. Real files nest a handful of levels;
// the parser recurses once per level and would run out of stack on a hostile file long before this matters.
constexpr int kMaxXmlDepth = 256;

// The deepest element nesting in the bytes of an XML text (comments, CDATA, declarations and quoted attribute
// values do not count).
int XmlNestingDepth(const std::string& bytes);

// Loads the file in the legacy encoding (GBK bytes pass through unchanged). False, with the document left empty,
// when the file is missing, does not parse, or nests deeper than kMaxXmlDepth.
bool LoadXmlFile(TiXmlDocument& document, const std::string& path);
