#include "Logic/DeviceControl.h"
#include "cardlist/RfKeyXml.h"
#include "support/LogCapture.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tinyxml2.h>

namespace {

class RfKeyXml : public ::testing::Test {
protected:
    std::string Path(const char* name) const {
        return m_dir.filePath(QString::fromUtf8(name)).toStdString();
    }
    std::string Write(const char* name, const QByteArray& text) const
    {
        QFile f(QString::fromStdString(Path(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return Path(name);
    }
    static QByteArray Read(const std::string& path)
    {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

CardRecord* NewCard(int id, const QString& name, const QString& code)
{
    auto* c = new CardRecord;
    c->ID = id;
    c->Name = name;
    c->Code = code;
    c->DoorNumber = QStringLiteral("13");
    c->Mon = 1;
    c->Tue = 2;
    c->Sun = 1;
    c->TimeStart = QStringLiteral("08:00");
    c->TimeEnd = QStringLiteral("18:30");
    c->WebRelay = 3;
    c->Tags = 1;
    c->Frequency = 9;
    c->Owner = QStringLiteral("5;");
    return c;
}

} // namespace

TEST_F(RfKeyXml, WritesRunningIdsWeekdayFlagsAndNoOwner)
{
    CardRecord* list = NewCard(40, QStringLiteral("Anna & \"Bo\""), QStringLiteral("AB01"));
    list->next = NewCard(7, QStringLiteral("Bea"), QStringLiteral("AB02"));
    const std::string path = Path("two.xml");
    ASSERT_EQ(WriteRfxmlFile(list, path.c_str()), 0);
    CDeviceControl::FreeRfcardList(list);

    EXPECT_EQ(Read(path),
              QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<KeyData>\n"
                         "    <Key ID=\"1\" Name=\"Anna &amp; &quot;Bo&quot;\" Code=\"AB01\" "
                         "DoorNum=\"13\" Mon=\"1\" Tue=\"0\" Wed=\"0\" Thur=\"0\" Fri=\"0\" "
                         "Sat=\"0\" Sun=\"1\" TimeStart=\"08:00\" TimeEnd=\"18:30\"/>\n"
                         "    <Key ID=\"2\" Name=\"Bea\" Code=\"AB02\" DoorNum=\"13\" Mon=\"1\" "
                         "Tue=\"0\" Wed=\"0\" Thur=\"0\" Fri=\"0\" Sat=\"0\" Sun=\"1\" "
                         "TimeStart=\"08:00\" TimeEnd=\"18:30\"/>\n"
                         "</KeyData>\n"));
}

TEST_F(RfKeyXml, NullListWritesTheOneBlankElement)
{
    const std::string path = Path("empty.xml");
    ASSERT_EQ(WriteRfxmlFile(nullptr, path.c_str()), 0);
    EXPECT_EQ(Read(path), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KeyData>\n"
                                     "    < />\n</KeyData>\n"));
    EXPECT_EQ(WriteRfxmlFile(nullptr, nullptr), -1);
    EXPECT_EQ(WriteRfxmlFile(nullptr, Path("missing/dir.xml").c_str()), -1);
}

TEST_F(RfKeyXml, RoundTripGivesBackEveryWrittenField)
{
    CardRecord* list = NewCard(40, QStringLiteral("Émile <Zoë>"), QStringLiteral("C0DE"));
    list->next = NewCard(41, QStringLiteral("Second"), QStringLiteral("C0DF"));
    const std::string path = Path("round.xml");
    ASSERT_EQ(WriteRfxmlFile(list, path.c_str()), 0);

    CardRecord* back = CRfKeyXml::ParseRfxmlFile(path.c_str());
    ASSERT_NE(back, nullptr);
    int n = 0;
    for (CardRecord *a = list, *b = back; a || b; a = a->next, b = b->next, ++n) {
        ASSERT_TRUE(a && b);
        EXPECT_EQ(b->ID, n + 1);
        EXPECT_EQ(b->Name, a->Name);
        EXPECT_EQ(b->Code, a->Code);
        EXPECT_EQ(b->DoorNumber, a->DoorNumber);
        EXPECT_EQ(b->TimeStart, a->TimeStart);
        EXPECT_EQ(b->TimeEnd, a->TimeEnd);
        EXPECT_EQ((std::vector<int>{b->Mon, b->Tue, b->Wed, b->Thur, b->Fri, b->Sat, b->Sun}),
                  (std::vector<int>{1, 0, 0, 0, 0, 0, 1}));
        EXPECT_EQ(b->WebRelay + b->Tags + b->Frequency, 0) << "never written";
        EXPECT_TRUE(b->Owner.isEmpty());
    }
    EXPECT_EQ(n, 2);
    CDeviceControl::FreeRfcardList(list);
    CDeviceControl::FreeRfcardList(back);
}

TEST_F(RfKeyXml, ReadsOnlyKeyChildrenOfAnyRootWithCapsAndDefaults)
{
    const QString name31(31, QLatin1Char('n'));
    const QString name32(32, QLatin1Char('m'));
    const std::string path = Write(
        "device.xml",
        "<?xml version=\"1.0\"?>\r\n<Cards>\r\n"
        "  <Key ID=\"9\" Name=\"" +
            name31.toUtf8() +
            "\" Code=\"A1\" Mon=\"1\" Tue=\"yes\" "
            "DoorWebRelay=\"4\" Tags=\" 2\" Frequency=\"-7x\" Sat=\"99999999999999999999\" "
            "DoorNum=\"123456789012\"/>\r\n"
            "  <!-- a comment -->\r\n  <Other ID=\"5\"/>\r\n  <key Code=\"lower\"/>\r\n  text\r\n"
            "  <Key Name=\"" +
            name32.toUtf8() + "\" Code=\"A2\"/>\r\n</Cards>\r\n");

    CardRecord* list = CRfKeyXml::ParseRfxmlFile(path.c_str());
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->next, nullptr);
    EXPECT_EQ(list->next->next, nullptr);

    const CardRecord& a = *list;
    EXPECT_EQ(a.ID, 9);
    EXPECT_EQ(a.Name, name31);
    EXPECT_EQ(a.Code, QStringLiteral("A1"));
    EXPECT_TRUE(a.DoorNumber.isEmpty()) << "12 characters do not fit 12 with the terminator";
    EXPECT_EQ(a.Mon, 1);
    EXPECT_EQ(a.Tue, 0);
    EXPECT_EQ(a.WebRelay, 4);
    EXPECT_EQ(a.Tags, 2);
    EXPECT_EQ(a.Frequency, -7);
    EXPECT_EQ(a.Sat, INT_MAX);

    const CardRecord& b = *list->next;
    EXPECT_TRUE(b.Name.isEmpty()) << "32 characters do not fit";
    EXPECT_EQ(b.Code, QStringLiteral("A2"));
    EXPECT_EQ(b.ID + b.WebRelay + b.Tags + b.Frequency + b.Mon, 0);
    CDeviceControl::FreeRfcardList(list);
}

TEST_F(RfKeyXml, UnreadableFilesGiveNullAndTheirLogLine)
{
    LogCapture log;
    struct Case {
        std::string path;
        QString line;
        int load;
    };
    const std::string missing = Path("nothere.xml");
    const Case cases[] = {
        {missing,
         QStringLiteral("CRfKeyXml::ParseRfxmlFile: %1 file no exit.")
             .arg(QString::fromStdString(missing)),
         -1},
        {m_dir.path().toStdString(), QStringLiteral("file no exit."), -1},
        {Write("decl.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"),
         QStringLiteral("CRfKeyXml::ParseRfxmlFile: ROOT Node is NULL"), -1},
        {Write("broken.xml", "<KeyData><Key ID=\"1\"</KeyData>"),
         QStringLiteral("CRfKeyXml::ParseRfxmlFile:XML LoadFile failed."), -1},
        {Write("nokeys.xml", "<KeyData><Other/></KeyData>"), QString(), 0},
    };
    for (const Case& c : cases) {
        log.Drain(50);
        CardRecord* list = reinterpret_cast<CardRecord*>(1);
        EXPECT_EQ(CRfKeyXml::LoadRfxmlFile(c.path.c_str(), &list), c.load) << c.path;
        EXPECT_EQ(list, nullptr);
        const QStringList lines = log.Drain(100);
        if (c.line.isEmpty()) {
            EXPECT_TRUE(lines.isEmpty()) << c.path;
        } else {
            ASSERT_EQ(lines.size(), 1) << c.path;
            EXPECT_TRUE(lines[0].endsWith(c.line)) << lines[0].toStdString();
        }
    }
}

TEST(GetXmlAttribute, FirstExactNameWithinItsCapacity)
{
    tinyxml2::XMLDocument doc;
    const std::string big(256, 'x');
    ASSERT_EQ(
        doc.Parse(("<Key a=\"1\" A=\"2\" b=\"" + big + "\" c=\"" + big.substr(1) + "\"/>").c_str()),
        tinyxml2::XML_SUCCESS);
    const tinyxml2::XMLElement* e = doc.FirstChildElement();
    EXPECT_EQ(GetXmlAttribute(e, "a"), "1");
    EXPECT_EQ(GetXmlAttribute(e, "A"), "2");
    EXPECT_EQ(GetXmlAttribute(e, "missing"), "");
    EXPECT_EQ(GetXmlAttribute(e, "b"), "");
    EXPECT_EQ(GetXmlAttribute(e, "c").size(), 255u);
    EXPECT_EQ(GetXmlAttribute(nullptr, "a"), "");
}
