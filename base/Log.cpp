#include "base/Log.h"

#include "base/CommControl.h"
#include "base/LogPacket.h"

void LogWrite(int level, const QString& text)
{
    const QByteArray packet = LogPacket::Build(level, text);
    CCommControl::GetInstance()->Channel().Send(packet.constData(), int(packet.size()));
}
