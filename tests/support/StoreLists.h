#pragma once
#include "Logic/DeviceControl.h"
#include "store/DbAccess.h"

#include <QString>
#include <gtest/gtest.h>
#include <map>
#include <vector>

// The store's lists as values that tests compare. Each frees the list it read.

// The devices of a list, in its order.
inline std::vector<DeviceRecord> Chain(DeviceRecord* head)
{
    std::vector<DeviceRecord> out;
    for (DeviceRecord* r = head; r; r = r->next)
        out.push_back(*r);
    CDeviceControl::FreeDeviceList(head);
    return out;
}

// code -> name of every card of the owner
inline std::map<QString, QString> Cards(int owner)
{
    std::map<QString, QString> out;
    CardRecord* list = CDbAccess::GetInstance()->ListCards(OwnerKey(owner));
    for (CardRecord* c = list; c; c = c->next)
        out[c->Code] = c->Name;
    CDeviceControl::FreeRfcardList(list);
    return out;
}

inline void Save(CardRecord c)
{
    ASSERT_EQ(CDbAccess::GetInstance()->SaveCard(&c), 0);
}
