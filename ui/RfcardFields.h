#pragma once
#include "store/CardRecord.h"

#include <QString>

// The inputs of the card dialog, as read from its controls.
struct RfcardFields {
    QString name;
    QString code;
    QString timeStart = QStringLiteral("00:00");
    QString timeEnd = QStringLiteral("23:59");
    QString frequency = QStringLiteral("1");
    QString webRelay = QStringLiteral("1");
    int tags = 0; // index of the tags item, -1 when none is selected
    bool door[3] = {true, false, false};
    bool day[7] = {true, true, true, true, true, true, true}; // Mon to Sun
};

// Trims the name, the frequency and the code in place, then checks them in
// that order. Returns the message of the first failed check, or an empty text.
QString CheckRfcardFields(RfcardFields& fields);

// The door digits of the checked doors, ascending: "13" for doors 1 and 3.
QString DoorNumberText(const bool (&door)[3]);

// Fills `record` from checked fields for the owner. Upper-cases the code in
// `fields` too. A text that does not fit its field leaves the field as it was,
// and the ID is kept.
void FillCardRecord(RfcardFields& fields, const QString& owner, CardRecord& record);

// The fields that show a stored card.
RfcardFields FieldsOfCard(const CardRecord& card);
