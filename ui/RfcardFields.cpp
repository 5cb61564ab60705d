#include "ui/RfcardFields.h"

#include "store/CppSQLite3Query.h"

namespace {
// An empty text is a value here (no door checked, a cleared time), not "nothing
// to copy", so it replaces what the field held.
void Fit(QString& field, int capacity, const QString& text) {
    CopyFitting(field, capacity, text.isNull() ? QStringLiteral("") : text);
}
} // namespace

QString CheckRfcardFields(RfcardFields& fields) {
    fields.name = fields.name.trimmed();
    fields.frequency = fields.frequency.trimmed();
    fields.code = fields.code.trimmed();
    if (fields.name.isEmpty())
        return QStringLiteral("You must input Rfcard Name. ");
    if (fields.frequency.isEmpty())
        return QStringLiteral("You must input a Frequency");
    if (fields.code.isEmpty())
        return QStringLiteral("You must input a Code");
    return QString();
}

QString DoorNumberText(const bool (&door)[3]) {
    QString text;
    for (int i = 0; i < 3; ++i) {
        if (door[i])
            text += QChar(u'1' + i);
    }
    return text;
}

void FillCardRecord(RfcardFields& fields, const QString& owner, CardRecord& record) {
    Fit(record.DoorNumber, CardRecord::kDoorNumberCap, DoorNumberText(fields.door));
    int* days[7] = {&record.Mon, &record.Tue, &record.Wed, &record.Thur,
                    &record.Fri, &record.Sat, &record.Sun};
    for (int i = 0; i < 7; ++i)
        *days[i] = fields.day[i] ? 1 : 0;
    record.Tags = fields.tags;
    record.WebRelay = fields.webRelay.trimmed().toInt(); // 0 when it is not a number
    record.Frequency = fields.frequency.toInt();
    fields.code = fields.code.toUpper();
    Fit(record.Code, CardRecord::kCodeCap, fields.code);
    Fit(record.Name, CardRecord::kNameCap, fields.name);
    Fit(record.TimeStart, CardRecord::kTimeCap, fields.timeStart);
    Fit(record.TimeEnd, CardRecord::kTimeCap, fields.timeEnd);
    Fit(record.Owner, CardRecord::kOwnerCap, owner);
}

RfcardFields FieldsOfCard(const CardRecord& card) {
    RfcardFields fields;
    fields.name = card.Name;
    fields.code = card.Code;
    for (int i = 0; i < 3; ++i)
        fields.door[i] = card.DoorNumber.contains(QChar(u'1' + i));
    const int days[7] = {card.Mon, card.Tue, card.Wed, card.Thur, card.Fri, card.Sat, card.Sun};
    for (int i = 0; i < 7; ++i)
        fields.day[i] = days[i] == 1;
    fields.timeStart = card.TimeStart;
    fields.timeEnd = card.TimeEnd;
    fields.frequency = QString::number(card.Frequency);
    fields.webRelay = QString::number(card.WebRelay);
    fields.tags = (card.Tags >= 0 && card.Tags <= 2) ? card.Tags : -1;
    return fields;
}
