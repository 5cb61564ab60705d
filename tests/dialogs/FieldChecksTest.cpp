#include "ui/DeviceFields.h"
#include "ui/RfcardFields.h"

#include <QList>
#include <gtest/gtest.h>

namespace {

const QString kOk;
const QString kNoName = QStringLiteral("You must input Device Name. ");
const QString kLongName = QStringLiteral("Device name must be no longer than 63 characters.");
const QString kNoIp = QStringLiteral("You must input an IP");
const QString kBadMac = QStringLiteral("Invalid MAC address.");

TEST(DeviceFieldChecks, ReportTheFirstFailureInOrder) {
    const struct {
        QString name, ip, mac, message;
    } cases[] = {
        {QString(63, 'n'), "10.0.0.1", "0C1105AABBCC", kOk},
        {QString(64, 'n'), "10.0.0.1", "0C1105AABBCC", kLongName},
        {"  " + QString(63, 'n') + " ", "10.0.0.1", "0C1105AABBCC",
         kOk}, // blanks are trimmed first
        {"   ", "10.0.0.1", "0C1105AABBCC", kNoName},
        {"", "", "bad", kNoName},
        {"Gate", " \t", "0C1105AABBCC", kNoIp},
        {"Gate", "", "bad", kNoIp},
        {"Gate", "10.0.0.1", "0c1105aabbcc", kOk},
        {"Gate", "10.0.0.1", "0C:11:05:AA:BB:CC", kBadMac},
        {"Gate", "10.0.0.1", "0C1105AABBC", kBadMac},
        {"Gate", "10.0.0.1", "0C1105AABBCCD", kBadMac},
        {"Gate", "10.0.0.1", "0C1105AABBCG", kBadMac},
        {"Gate", "10.0.0.1", " 0C1105AABBC", kBadMac},
        {"Gate", "not an address", "0C1105AABBCC", kOk}, // the IP is not checked further
    };
    for (const auto& c : cases) {
        DeviceFields fields{c.name, c.ip, c.mac, QString()};
        EXPECT_EQ(CheckDeviceFields(fields), c.message)
            << c.name.toStdString() << " / " << c.mac.toStdString();
    }
}

TEST(DeviceFieldChecks, NewRecordUpperCasesTheMacAndDropsTextsThatDoNotFit) {
    DeviceFields fields{QStringLiteral(" Hall "), QStringLiteral("10.0.0.1"),
                        QStringLiteral("0c1105aabbcc"), QStringLiteral("12.1.0.1")};
    ASSERT_EQ(CheckDeviceFields(fields), kOk);
    DeviceRecord r = NewDeviceRecord(fields);
    EXPECT_EQ(r.LocalName, QStringLiteral("Hall"));
    EXPECT_EQ(r.MAC, QStringLiteral("0C1105AABBCC"));
    EXPECT_EQ(r.IP, QStringLiteral("10.0.0.1"));
    EXPECT_EQ(r.Firmware, QStringLiteral("12.1.0.1"));
    EXPECT_EQ(r.Type, 0);
    EXPECT_EQ(r.State, 0);

    fields.ip = QString(16, '1');
    fields.firmware = QString(16, 'f');
    r = NewDeviceRecord(fields);
    EXPECT_TRUE(r.IP.isEmpty());
    EXPECT_TRUE(r.Firmware.isEmpty());
}

TEST(RfcardFieldChecks, NameThenFrequencyThenCode) {
    const struct {
        QString name, frequency, code, message;
    } cases[] = {
        {"", "", "", "You must input Rfcard Name. "},
        {"  ", "1", "AB", "You must input Rfcard Name. "},
        {"Gate", " ", "", "You must input a Frequency"},
        {"Gate", "1", "  ", "You must input a Code"},
        {" Gate ", "1", " ab12 ", ""},
    };
    for (const auto& c : cases) {
        RfcardFields f;
        f.name = c.name;
        f.frequency = c.frequency;
        f.code = c.code;
        EXPECT_EQ(CheckRfcardFields(f), c.message) << c.name.toStdString();
    }
}

TEST(RfcardFieldChecks, DefaultsMakeAnAllowedCardForDoorOneAllWeek) {
    RfcardFields f;
    f.name = QStringLiteral("  Gate  ");
    f.code = QStringLiteral("ab12");
    ASSERT_EQ(CheckRfcardFields(f), kOk);
    CardRecord r;
    FillCardRecord(f, QStringLiteral("12;"), r);
    EXPECT_EQ(f.code, QStringLiteral("AB12"));
    EXPECT_EQ(r.Name, QStringLiteral("Gate"));
    EXPECT_EQ(r.Code, QStringLiteral("AB12"));
    EXPECT_EQ(r.DoorNumber, QStringLiteral("1"));
    for (int day : {r.Mon, r.Tue, r.Wed, r.Thur, r.Fri, r.Sat, r.Sun})
        EXPECT_EQ(day, 1);
    EXPECT_EQ(r.TimeStart, QStringLiteral("00:00"));
    EXPECT_EQ(r.TimeEnd, QStringLiteral("23:59"));
    EXPECT_EQ(r.WebRelay, 1);
    EXPECT_EQ(r.Tags, 0);
    EXPECT_EQ(r.Frequency, 1);
    EXPECT_EQ(r.Owner, QStringLiteral("12;"));
}

TEST(RfcardFieldChecks, StoredCardRoundTripsThroughTheFields) {
    CardRecord stored;
    stored.ID = 9;
    stored.DoorNumber = QStringLiteral("23");
    stored.Mon = stored.Wed = stored.Sun = 1;
    stored.Tue = 2; // only 1 counts as a checked day
    stored.WebRelay = 9;
    stored.Tags = 2;
    stored.Frequency = 4;
    stored.Name = QStringLiteral("Lobby");
    stored.Code = QStringLiteral("C3B2A104");
    stored.TimeStart = QStringLiteral("08:00");
    stored.TimeEnd = QStringLiteral("18:00");

    RfcardFields f = FieldsOfCard(stored);
    EXPECT_FALSE(f.door[0]);
    EXPECT_TRUE(f.door[1]);
    EXPECT_TRUE(f.door[2]);
    EXPECT_EQ(f.webRelay, QStringLiteral("9"));
    EXPECT_EQ(f.tags, 2);

    CardRecord saved = stored;
    ASSERT_EQ(CheckRfcardFields(f), kOk);
    FillCardRecord(f, QStringLiteral("3;"), saved);
    EXPECT_EQ(saved.ID, 9);
    EXPECT_EQ(saved.DoorNumber, QStringLiteral("23"));
    EXPECT_EQ(
        QList<int>({saved.Mon, saved.Tue, saved.Wed, saved.Thur, saved.Fri, saved.Sat, saved.Sun}),
        QList<int>({1, 0, 1, 0, 0, 0, 1}));
    EXPECT_EQ(saved.WebRelay, 9);
    EXPECT_EQ(saved.Tags, 2);
    EXPECT_EQ(saved.Frequency, 4);

    stored.Tags = 5; // no such item: nothing selected, stored as -1
    f = FieldsOfCard(stored);
    EXPECT_EQ(f.tags, -1);
    f.door[1] = f.door[2] = false;
    for (bool& day : f.day)
        day = false;
    FillCardRecord(f, QStringLiteral("3;"), saved);
    EXPECT_EQ(saved.Tags, -1);
    EXPECT_EQ(saved.DoorNumber, QString());
    EXPECT_EQ(saved.Mon + saved.Tue + saved.Wed + saved.Thur + saved.Fri + saved.Sat + saved.Sun,
              0);
}

} // namespace
