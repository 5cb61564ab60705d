#pragma once
#include <QString>

// The desktop USB RF card reader. One object for the process; it keeps the
// handle of the last read. Every read opens and closes the reader.
class CCardReader {
public:
    // The code field that receives a read holds this many characters with its terminator.
    static constexpr int kCodeChars = 24;

    static CCardReader* GetInstance();

    // Reads the card on the reader. On success `code` receives the card's serial
    // number as hex text, byte order reversed to the order printed on the cards,
    // and 0 is returned. Without a card, on a reader error, or for a text that
    // is not hex or does not fit the code field, `code` is left as it was and -1
    // is returned.
    int ReadCardCode(QString& code);

    // The reader sends the serial number lowest byte first; turns the pairs
    // of hex digits around (A1B2C3D4 becomes D4C3B2A1).
    static QString ReverseByteOrder(const QString& hex);

private:
    CCardReader() = default;

    int m_handle = 0;
};
