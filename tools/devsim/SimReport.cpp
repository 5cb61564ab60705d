#include "SimReport.h"

#include "Logic/MsgPacket.h"

#include <memory>
#include <openssl/evp.h>

QByteArray SimReportXml(const SimDeviceConfig& d)
{
    const QByteArray root = d.fault == SimFault::WrongRoot ? "msg" : "Msg";
    const QString firmware = d.fault == SimFault::BadFirmware ? QStringLiteral("21.0.1") : d.firmware;
    QByteArray xml;
    xml += "<" + root + ">\r\n";
    xml += "\t<Type>ReportStatus</Type>\r\n";
    xml += "\t<Protocal>2.0</Protocal>\r\n";
    xml += "\t<Params>\r\n";
    auto param = [&xml](const char* name, const QString& value) {
        xml += QByteArray("\t\t<") + name + ">" + value.toUtf8() + "</" + name + ">\r\n";
    };
    param("DeviceID", QStringLiteral("1.1.1.1.1"));
    param("Extension", QStringLiteral("1"));
    param("Type", d.type);
    param("IP", d.ip);
    param("SM", QStringLiteral("255.0.0.0"));
    param("GW", QStringLiteral("127.0.0.1"));
    param("DNS1", QStringLiteral("127.0.0.1"));
    param("DNS2", QStringLiteral("0.0.0.0"));
    param("MAC", d.mac);
    param("Status", QStringLiteral("Idle"));
    param("SWVer", firmware);
    param("HWVer", QStringLiteral("HW1.0"));
    param("DownloadServer", QString());
    param("UploadServer", QString());
    xml += "\t</Params>\r\n";
    xml += "</" + root + ">\r\n";
    return xml;
}

QByteArray SimEncrypt(const QByteArray& plain)
{
    QByteArray padded = plain;
    padded.append((16 - padded.size() % 16) % 16, '\0');
    QByteArray out(padded.size() + 16, '\0');
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                       EVP_CIPHER_CTX_free);
    const unsigned char iv[16] = {};
    int n = 0;
    int tail = 0;
    if (!ctx ||
        EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_cbc(), nullptr,
                           reinterpret_cast<const unsigned char*>(kReportKey), iv) != 1 ||
        EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1 ||
        EVP_EncryptUpdate(ctx.get(), reinterpret_cast<unsigned char*>(out.data()), &n,
                          reinterpret_cast<const unsigned char*>(padded.constData()),
                          int(padded.size())) != 1 ||
        EVP_EncryptFinal_ex(ctx.get(), reinterpret_cast<unsigned char*>(out.data()) + n, &tail) != 1)
        return QByteArray();
    out.resize(n + tail);
    return out;
}

QByteArray SimReportPacket(const SimDeviceConfig& device)
{
    const QByteArray body = SimEncrypt(SimReportXml(device));
    QByteArray packet(kPacketHeaderLength, '\0');
    WritePacketHeader(reinterpret_cast<uint8_t*>(packet.data()), MSG_ID_REPORT_STATUS,
                      int(body.size()));
    return packet + body;
}
