#pragma once

#include <string>

class TiXmlDocument;

// Writes the document to a new file beside the old one and renames it over it, so that the previous file
// stays whole until the new one is complete on disk. False, with the old file untouched, when any step fails.
bool SaveXmlFile(const TiXmlDocument& document, const std::string& path);
