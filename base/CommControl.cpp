#include "base/CommControl.h"

CCommControl* CCommControl::GetInstance()
{
    static CCommControl* instance = new CCommControl; // lives until the process ends
    return instance;
}
