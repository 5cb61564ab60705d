-- The supplied database. Columns are read by position, so their order is fixed.
-- IDs are never reused (AUTOINCREMENT): cards left behind by an interrupted
-- removal can never attach to a device added later.
CREATE TABLE Devices (
    ID        INTEGER PRIMARY KEY AUTOINCREMENT,
    Type      INTEGER,
    State     INTEGER,
    Model     TEXT,
    IP        TEXT,
    MAC       TEXT COLLATE NOCASE,
    LocalName TEXT,
    Firmware  TEXT
);
-- Every status report looks its device up by MAC.
CREATE INDEX DevicesByMac ON Devices(MAC);

CREATE TABLE RfcardInfo (
    ID         INTEGER PRIMARY KEY AUTOINCREMENT,
    Name       TEXT,
    Code       TEXT,
    DoorNumber TEXT,
    Mon        INTEGER,
    Tue        INTEGER,
    Wed        INTEGER,
    Thur       INTEGER,
    Fri        INTEGER,
    Sat        INTEGER,
    Sun        INTEGER,
    TimeStart  TEXT,
    TimeEnd    TEXT,
    WebRelay   INTEGER,
    Tags       INTEGER,
    Frequency  INTEGER,
    Owner      TEXT
);
-- A device's cards in ID order (lists, counts, pages), and the save's lookup
-- of a code within its owner.
CREATE INDEX RfcardInfoByOwner ON RfcardInfo(Owner, ID);
CREATE INDEX RfcardInfoByOwnerCode ON RfcardInfo(Owner, Code);
