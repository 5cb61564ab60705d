#pragma once
#include "store/CardRecord.h"

#include <string>

namespace tinyxml2 {
class XMLElement;
}

// Card-list files: root KeyData, one empty Key element per card, the card held
// in the Key's attributes. Paths are UTF-8.
class CRfKeyXml {
public:
    // The cards of the file in document order, or null when the file is missing,
    // unreadable, not well-formed, has no element or holds no Key. The caller
    // releases the chain record by record.
    static CardRecord* ParseRfxmlFile(const char* path);
    // As ParseRfxmlFile, but tells a file that could not be read (-1) from one
    // that was read and held no card (0 with a null list).
    static int LoadRfxmlFile(const char* path, CardRecord** list);
};

// Writes the chain (null writes a list without cards). 0 when the whole file
// was written, -1 otherwise. The list stays the caller's.
int WriteRfxmlFile(const CardRecord* list, const char* path);

// The attribute's value, or empty text for no element, no such attribute or a
// value of 256 bytes or more (no card field holds one that long).
std::string GetXmlAttribute(const tinyxml2::XMLElement* element, const char* name);
