#pragma once
// What a simulated device puts on the wire.
#include "SimDeviceConfig.h"

#include <QByteArray>

// The status report's XML as a device writes it.
QByteArray SimReportXml(const SimDeviceConfig& device);
// AES-256-CBC with the device key and a zero IV; zero bytes pad the last block.
QByteArray SimEncrypt(const QByteArray& plain);
// A whole ReportStatus packet: header and encrypted body.
QByteArray SimReportPacket(const SimDeviceConfig& device);
