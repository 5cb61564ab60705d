#include "Logic/SocketMsg.h"

#include <algorithm>

void CopyIpText(char16_t (&field)[16], const QString& ip)
{
    const int n = std::min<int>(int(ip.size()), 15);
    std::copy_n(reinterpret_cast<const char16_t*>(ip.utf16()), n, field);
    std::fill(field + n, field + 16, u'\0');
}

QString IpText(const char16_t (&field)[16])
{
    return QString::fromUtf16(field, std::find(field, field + 16, u'\0') - field);
}
