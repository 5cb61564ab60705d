#include "ui/CardReader.h"
#include "ScriptedReader.h"

#include <gtest/gtest.h>

namespace {

TEST(CardReader, ReversesTheByteOrderOfTheSerialNumber) {
    const struct {
        const char* serial;
        const char* code;
    } cases[] = {
        {"04A1B2C3", "C3B2A104"},
        {"A1B2C3D4", "D4C3B2A1"},
        {"04a1b2", "b2a104"}, // the case is kept; storing upper-cases it
        {"ABC", "CAB"},       // odd length: the last digit pairs with nothing
        {"0123456789ABCDEF012345", "452301EFCDAB8967452301"}, // 22 digits still fit
    };
    ScriptedReader reader;
    for (const auto& c : cases) {
        reader.nextSerial = QByteArray(c.serial);
        QString code;
        EXPECT_EQ(CCardReader::GetInstance()->ReadCardCode(code), 0) << c.serial;
        EXPECT_EQ(code, QString::fromLatin1(c.code)) << c.serial;
    }
}

TEST(CardReader, OpensConfiguresReadsBeepsAndClosesInOrder) {
    ScriptedReader reader;
    reader.nextSerial = QByteArray("04A1B2C3");
    QString code;
    CCardReader::GetInstance()->ReadCardCode(code);
    EXPECT_EQ(reader.calls, QStringList({"init 100 115200", "config 7 65", "card_hex 7 0",
                                         "beep 7 10", "exit 7"}));
}

TEST(CardReader, WithoutACardLeavesTheCodeAndStillClosesTheReader) {
    ScriptedReader reader;
    QString code = QStringLiteral("kept");
    EXPECT_EQ(CCardReader::GetInstance()->ReadCardCode(code), -1);
    EXPECT_EQ(code, QStringLiteral("kept"));
    EXPECT_EQ(reader.calls,
              QStringList({"init 100 115200", "config 7 65", "card_hex 7 0", "exit 7"}));
}

TEST(CardReader, RefusesSerialNumbersThatAreNotHexOrDoNotFitTheCodeField) {
    const QByteArray refused[] = {
        QByteArray("04G1B2C3"),
        QByteArray("04A1 B2C3"),
        QByteArray(24, 'A'),               // one more than the code field holds
        QByteArray(kDcSnrBufferSize, '1'), // fills the whole buffer, no terminator
        QByteArray(""),
    };
    ScriptedReader reader;
    for (const QByteArray& serial : refused) {
        reader.calls.clear();
        reader.nextSerial = serial;
        QString code = QStringLiteral("kept");
        EXPECT_EQ(CCardReader::GetInstance()->ReadCardCode(code), -1) << serial.left(30).data();
        EXPECT_EQ(code, QStringLiteral("kept"));
        EXPECT_EQ(reader.calls.last(), QStringLiteral("exit 7"));
        EXPECT_FALSE(reader.calls.join(' ').contains(QStringLiteral("beep")));
    }
}

TEST(CardReader, NoReaderAttachedMeansNoCard) {
    QString code = QStringLiteral("kept");
    EXPECT_EQ(CCardReader::GetInstance()->ReadCardCode(code), -1);
    EXPECT_EQ(code, QStringLiteral("kept"));
}

} // namespace
