#include "store/DbAccess.h"

#include "base/Log.h"
#include "store/CppSQLite3DB.h"
#include "store/CppSQLite3Exception.h"

namespace {

const QString kDevices = QStringLiteral("Devices");
const QString kCards = QStringLiteral("RfcardInfo");

CppSQLite3DB& Db() { return CppSQLite3DB::GetInstance(); }

// Runs a statement without rows: 0 done, -1 failed.
int Run(const QString& sql)
{
    try {
        return Db().Execute(sql);
    } catch (const CppSQLite3Exception&) {
        return -1;
    }
}

// The first column of the one result row; 0 when there is none or on failure.
int Count(const QString& sql)
{
    try {
        CppSQLite3Query q = Db().Query(sql);
        return q.AtEnd() ? 0 : q.IntField(0);
    } catch (const CppSQLite3Exception&) {
        return 0;
    }
}

QString SearchCondition(const QString& search)
{
    const QString s = SqlText(search);
    return WFormatV(QStringLiteral(" ((MAC like '%%%s%%') OR (IP like '%%%s%%') OR (Firmware like "
                                   "'%%%s%%') OR (LocalName like '%%%s%%'))"),
                    s, s, s, s);
}

QString OwnerCondition(const QString& owner)
{
    return WFormatV(QStringLiteral(" Owner='%s'"), SqlText(owner));
}

void ReadDevice(const CppSQLite3Query& q, DeviceRecord& r)
{
    r.ID = q.IntField(0);
    r.Type = q.IntField(1);
    r.State = q.IntField(2);
    CopyFitting(r.Model, DeviceRecord::kModelCap, q.TextField(3));
    CopyFitting(r.IP, DeviceRecord::kIPCap, q.TextField(4));
    CopyFitting(r.MAC, DeviceRecord::kMACCap, q.TextField(5));
    CopyFitting(r.LocalName, DeviceRecord::kLocalNameCap, q.TextField(6));
    CopyFitting(r.Firmware, DeviceRecord::kFirmwareCap, q.TextField(7));
}

void ReadCard(const CppSQLite3Query& q, CardRecord& r)
{
    r.ID = q.IntField(0);
    CopyFitting(r.Name, CardRecord::kNameCap, q.TextField(1));
    CopyFitting(r.Code, CardRecord::kCodeCap, q.TextField(2));
    CopyFitting(r.DoorNumber, CardRecord::kDoorNumberCap, q.TextField(3));
    r.Mon = q.IntField(4);
    r.Tue = q.IntField(5);
    r.Wed = q.IntField(6);
    r.Thur = q.IntField(7);
    r.Fri = q.IntField(8);
    r.Sat = q.IntField(9);
    r.Sun = q.IntField(10);
    CopyFitting(r.TimeStart, CardRecord::kTimeCap, q.TextField(11));
    CopyFitting(r.TimeEnd, CardRecord::kTimeCap, q.TextField(12));
    r.WebRelay = q.IntField(13);
    r.Tags = q.IntField(14);
    r.Frequency = q.IntField(15);
    CopyFitting(r.Owner, CardRecord::kOwnerCap, q.TextField(16));
}

// Every row into the same record: with several rows the last one read stays.
template <class Record, class Reader>
int ReadOne(const QString& sql, Record* record, Reader read)
{
    if (!record)
        return -1;
    try {
        CppSQLite3Query q = Db().Query(sql);
        for (; !q.AtEnd(); q.MoveNext())
            read(q, *record);
        return 0;
    } catch (const CppSQLite3Exception&) {
        return -1;
    }
}

// One cleared heap record per row, in statement order; what was read before a
// failure is kept.
template <class Record, class Reader> Record* ReadList(const QString& sql, Reader read)
{
    Record* head = nullptr;
    Record** tail = &head;
    try {
        CppSQLite3Query q = Db().Query(sql);
        for (; !q.AtEnd(); q.MoveNext()) {
            auto* r = new Record;
            read(q, *r);
            *tail = r;
            tail = &r->next;
        }
    } catch (const CppSQLite3Exception&) {
    }
    return head;
}

} // namespace

QString SqlText(const QString& value)
{
    QString s = value;
    return s.replace(QLatin1Char('\''), QStringLiteral("''"));
}

CDbAccess* CDbAccess::GetInstance()
{
    static CDbAccess instance;
    return &instance;
}

int CDbAccess::InsertDevice(const DeviceRecord& r)
{
    return Run(WFormatV(QStringLiteral("insert into %s(Type, State, Model, MAC, IP, Firmware, "
                                       "LocalName) values(%d,%d,'%s','%s','%s','%s','%s')"),
                        kDevices, r.Type, r.State, SqlText(r.Model), SqlText(r.MAC), SqlText(r.IP),
                        SqlText(r.Firmware), SqlText(r.LocalName)));
}

int CDbAccess::UpdateDeviceById(const DeviceRecord& r)
{
    return Run(WFormatV(QStringLiteral("update %s set Type=%d, Model='%s',MAC='%s',IP='%s',"
                                       "Firmware='%s',LocalName='%s' where ID=%d"),
                        kDevices, r.Type, SqlText(r.Model), SqlText(r.MAC), SqlText(r.IP),
                        SqlText(r.Firmware), SqlText(r.LocalName), r.ID));
}

int CDbAccess::UpdateDeviceByMac(const DeviceRecord& r)
{
    return Run(WFormatV(QStringLiteral("update %s set Type=%d, Model='%s', IP='%s', "
                                       "Firmware='%s' where Mac='%s'"),
                        kDevices, r.Type, SqlText(r.Model), SqlText(r.IP), SqlText(r.Firmware),
                        SqlText(r.MAC)));
}

int CDbAccess::DeleteDeviceById(int id)
{
    return Run(WFormatV(QStringLiteral("delete from %s where ID=%d"), kDevices, id));
}

int CDbAccess::GetDeviceById(int id, DeviceRecord* record)
{
    return ReadOne(WFormatV(QStringLiteral("select * from %s where ID=%d"), kDevices, id), record,
                   ReadDevice);
}

int CDbAccess::GetDeviceByLocalName(const QString& name, DeviceRecord* record)
{
    return ReadOne(WFormatV(QStringLiteral("select * from %s where LocalName='%s'"), kDevices,
                            SqlText(name)),
                   record, ReadDevice);
}

int CDbAccess::DeviceMacExists(const QString& mac)
{
    return Count(WFormatV(QStringLiteral("select count(*) from %s where Mac='%s'"), kDevices,
                          SqlText(mac))) != 0
               ? 1
               : 0;
}

int CDbAccess::CountDevices(const QString& search)
{
    if (search.isEmpty())
        return Count(WFormatV(QStringLiteral("select count(*) from %s"), kDevices));
    return Count(WFormatV(QStringLiteral("select count(*) from %s where %s"), kDevices,
                          SearchCondition(search)));
}

int CDbAccess::CountDevicesByState(int state, const QString& search)
{
    if (search.isEmpty())
        return Count(
            WFormatV(QStringLiteral("select count(*) from %s where State=%d"), kDevices, state));
    return Count(WFormatV(QStringLiteral("select count(*) from %s where %s AND State=%d"),
                          kDevices, SearchCondition(search), state));
}

DeviceRecord* CDbAccess::ListDevices(const QString& search)
{
    const QString sql =
        search.isEmpty()
            ? WFormatV(QStringLiteral("select * from %s order by ID ASC"), kDevices)
            : WFormatV(QStringLiteral("select * from %s where %s order by ID ASC"), kDevices,
                       SearchCondition(search));
    return ReadList<DeviceRecord>(sql, ReadDevice);
}

DeviceRecord* CDbAccess::ListDevicesByState(int state, const QString& search)
{
    const QString sql =
        search.isEmpty()
            ? WFormatV(QStringLiteral("select * from %s where State=%d order by ID ASC"),
                       kDevices, state)
            : WFormatV(QStringLiteral("select * from %s where %s AND State=%d order by ID ASC"),
                       kDevices, SearchCondition(search), state);
    return ReadList<DeviceRecord>(sql, ReadDevice);
}

int CDbAccess::SetDeviceState(const QString& mac, int state)
{
    if (mac.isEmpty())
        return Run(WFormatV(QStringLiteral("update %s set State=%d"), kDevices, state));
    return Run(WFormatV(QStringLiteral("update %s set State=%d where MAC='%s'"), kDevices, state,
                        SqlText(mac)));
}

int CDbAccess::ResetDeviceStates()
{
    return Run(WFormatV(QStringLiteral("update %s set State=%d"), kDevices, 0));
}

int CDbAccess::SaveCard(CardRecord* r)
{
    if (!r)
        return -1;
    bool exists = false;
    try {
        CppSQLite3Query q = Db().Query(
            WFormatV(QStringLiteral("select * from %s where Code='%s' and Owner='%s'"), kCards,
                     SqlText(r->Code), SqlText(r->Owner)));
        for (; !q.AtEnd(); q.MoveNext()) {
            r->ID = q.IntField(0);
            exists = true;
        }
    } catch (const CppSQLite3Exception&) {
        exists = false;
    }
    if (exists)
        return UpdateCardById(r);
    return Run(WFormatV(
        QStringLiteral("insert into %s(Name, Code, DoorNumber, Mon, Tue, Wed, Thur,Fri, Sat, Sun, "
                       "\t\t\t\t\t\t TimeStart, TimeEnd, WebRelay, Tags, Frequency, Owner) "
                       "values('%s', '%s', '%s', %d, %d, %d, %d, %d, %d, %d, '%s', '%s', %d, %d, "
                       "%d, '%s')"),
        kCards, SqlText(r->Name), SqlText(r->Code), SqlText(r->DoorNumber), r->Mon, r->Tue, r->Wed,
        r->Thur, r->Fri, r->Sat, r->Sun, SqlText(r->TimeStart), SqlText(r->TimeEnd), r->WebRelay,
        r->Tags, r->Frequency, SqlText(r->Owner)));
}

int CDbAccess::UpdateCardById(const CardRecord* r)
{
    if (!r)
        return -1;
    return Run(WFormatV(
        QStringLiteral("update %s set Name='%s', Code='%s', DoorNumber='%s', Mon=%d, Tue=%d, "
                       "Wed=%d, \t\t\t\t\t Thur=%d, Fri=%d, Sat=%d, Sun=%d, TimeStart='%s', "
                       "TimeEnd='%s', WebRelay=%d, Tags=%d, Frequency=%d, Owner='%s' where ID = %d"),
        kCards, SqlText(r->Name), SqlText(r->Code), SqlText(r->DoorNumber), r->Mon, r->Tue, r->Wed,
        r->Thur, r->Fri, r->Sat, r->Sun, SqlText(r->TimeStart), SqlText(r->TimeEnd), r->WebRelay,
        r->Tags, r->Frequency, SqlText(r->Owner), r->ID));
}

int CDbAccess::DeleteCardById(int id)
{
    return Run(WFormatV(QStringLiteral("delete from %s where ID=%d"), kCards, id));
}

int CDbAccess::GetCardById(int id, CardRecord* record)
{
    if (!record)
        return -1;
    const QString sql = WFormatV(QStringLiteral("select * from %s where ID=%d"), kCards, id);
    LogInfo(QStringLiteral("=====SQL===GET====%s======="), sql);
    return ReadOne(sql, record, ReadCard);
}

int CDbAccess::CountCards(const QString& owner)
{
    if (owner.isEmpty())
        return Count(WFormatV(QStringLiteral("select count(*) from %s"), kCards));
    return Count(WFormatV(QStringLiteral("select count(*) from %s where %s"), kCards,
                          OwnerCondition(owner)));
}

CardRecord* CDbAccess::ListCards(const QString& owner)
{
    const QString sql = owner.isEmpty()
                            ? WFormatV(QStringLiteral("select * from %s order by ID ASC"), kCards)
                            : WFormatV(QStringLiteral("select * from %s where %s order by ID ASC"),
                                       kCards, OwnerCondition(owner));
    return ReadList<CardRecord>(sql, ReadCard);
}

CardRecord* CDbAccess::ListCardsPage(const QString& owner, int offset, int limit)
{
    const QString where = owner.isEmpty() ? QString() : QStringLiteral(" where") + OwnerCondition(owner);
    return ReadList<CardRecord>(
        WFormatV(QStringLiteral("select * from %s%s order by ID ASC limit %d offset %d"), kCards,
                 where, qMax(limit, 0), qMax(offset, 0)),
        ReadCard);
}
