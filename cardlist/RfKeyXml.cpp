#include "cardlist/RfKeyXml.h"

#include "base/Log.h"
#include "store/CppSQLite3Query.h"

#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <tinyxml2.h>

namespace {

constexpr size_t kAttributeCap = 256;
const char* const kParseTag = "CRfKeyXml::ParseRfxmlFile";

// Like atoi, but a value beyond the range of int is clamped rather than undefined.
int AttributeInt(const tinyxml2::XMLElement* e, const char* name)
{
    const long long v = std::strtoll(GetXmlAttribute(e, name).c_str(), nullptr, 10);
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

void AttributeText(QString& field, int capacity, const tinyxml2::XMLElement* e, const char* name)
{
    CopyFitting(field, capacity, QString::fromUtf8(GetXmlAttribute(e, name)));
}

CardRecord* ReadKey(const tinyxml2::XMLElement* e)
{
    auto* r = new CardRecord;
    r->ID = AttributeInt(e, "ID");
    AttributeText(r->Name, CardRecord::kNameCap, e, "Name");
    AttributeText(r->Code, CardRecord::kCodeCap, e, "Code");
    AttributeText(r->DoorNumber, CardRecord::kDoorNumberCap, e, "DoorNum");
    r->Mon = AttributeInt(e, "Mon");
    r->Tue = AttributeInt(e, "Tue");
    r->Wed = AttributeInt(e, "Wed");
    r->Thur = AttributeInt(e, "Thur");
    r->Fri = AttributeInt(e, "Fri");
    r->Sat = AttributeInt(e, "Sat");
    r->Sun = AttributeInt(e, "Sun");
    AttributeText(r->TimeStart, CardRecord::kTimeCap, e, "TimeStart");
    AttributeText(r->TimeEnd, CardRecord::kTimeCap, e, "TimeEnd");
    r->WebRelay = AttributeInt(e, "DoorWebRelay");
    r->Tags = AttributeInt(e, "Tags");
    r->Frequency = AttributeInt(e, "Frequency");
    return r;
}

const char* Flag(int value) { return value == 1 ? "1" : "0"; }

} // namespace

std::string GetXmlAttribute(const tinyxml2::XMLElement* element, const char* name)
{
    if (!element || !name)
        return {};
    // The first attribute of that name counts, compared exactly.
    for (const tinyxml2::XMLAttribute* a = element->FirstAttribute(); a; a = a->Next()) {
        if (std::string_view(a->Name()) != name)
            continue;
        std::string value = a->Value();
        return value.size() < kAttributeCap ? value : std::string();
    }
    return {};
}

int CRfKeyXml::LoadRfxmlFile(const char* path, CardRecord** list)
{
    if (list)
        *list = nullptr;
    const QString wide = path ? QString::fromUtf8(path) : QString();
    const QFileInfo info(wide);
    // Only a regular file: a directory, a pipe or a device is no card list.
    if (!list || wide.isEmpty() || !info.isFile()) {
        LogError(QStringLiteral("%s: %s file no exit."), kParseTag, wide);
        return -1;
    }
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile(path) != tinyxml2::XML_SUCCESS) {
        LogError(QStringLiteral("%s:XML LoadFile failed."), kParseTag);
        return -1;
    }
    const tinyxml2::XMLElement* root = doc.FirstChildElement();
    if (!root) {
        LogError(QStringLiteral("%s: ROOT Node is NULL"), kParseTag);
        return -1;
    }
    CardRecord** tail = list;
    for (const tinyxml2::XMLElement* e = root->FirstChildElement(); e;
         e = e->NextSiblingElement()) {
        if (std::string_view(e->Name()) != "Key")
            continue;
        *tail = ReadKey(e);
        tail = &(*tail)->next;
    }
    return 0;
}

CardRecord* CRfKeyXml::ParseRfxmlFile(const char* path)
{
    CardRecord* list = nullptr;
    LoadRfxmlFile(path, &list);
    return list;
}

int WriteRfxmlFile(const CardRecord* list, const char* path)
{
    if (!path || !*path)
        return -1;
    tinyxml2::XMLDocument doc;
    doc.InsertEndChild(doc.NewDeclaration("xml version=\"1.0\" encoding=\"UTF-8\""));
    tinyxml2::XMLElement* root = doc.NewElement("KeyData");
    if (!doc.InsertEndChild(root))
        return -1;
    int number = 1;
    for (const CardRecord* c = list; c; c = c->next) {
        tinyxml2::XMLElement* key = doc.NewElement("Key");
        key->SetAttribute("ID", number++);
        key->SetAttribute("Name", c->Name.toUtf8().constData());
        key->SetAttribute("Code", c->Code.toUtf8().constData());
        key->SetAttribute("DoorNum", c->DoorNumber.toUtf8().constData());
        key->SetAttribute("Mon", Flag(c->Mon));
        key->SetAttribute("Tue", Flag(c->Tue));
        key->SetAttribute("Wed", Flag(c->Wed));
        key->SetAttribute("Thur", Flag(c->Thur));
        key->SetAttribute("Fri", Flag(c->Fri));
        key->SetAttribute("Sat", Flag(c->Sat));
        key->SetAttribute("Sun", Flag(c->Sun));
        key->SetAttribute("TimeStart", c->TimeStart.toUtf8().constData());
        key->SetAttribute("TimeEnd", c->TimeEnd.toUtf8().constData());
        if (!root->InsertEndChild(key))
            return -1;
    }
    // The devices take this single blank-named element as "no cards".
    if (!list && !root->InsertEndChild(doc.NewElement(" ")))
        return -1;

    tinyxml2::XMLPrinter printer;
    doc.Print(&printer);
    // Checked to the last byte: a full disk must not pass as a written file.
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return -1;
    const size_t size = size_t(printer.CStrSize() - 1);
    const bool written = std::fwrite(printer.CStr(), 1, size, f) == size;
    const bool closed = std::fclose(f) == 0;
    return written && closed ? 0 : -1;
}
