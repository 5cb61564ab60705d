#pragma once
#include "base/CommUdp.h"

// Owner of the process's one log channel.
class CCommControl {
public:
    static CCommControl* GetInstance();
    CCommUdp& Channel() { return m_udp; }

private:
    CCommControl() = default;
    CCommUdp m_udp;
};
