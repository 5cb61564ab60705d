#include "store/StoreBatch.h"

#include "store/CppSQLite3DB.h"
#include "store/CppSQLite3Exception.h"

namespace {

bool Run(const char* sql)
{
    try {
        return CppSQLite3DB::GetInstance().Execute(QString::fromLatin1(sql)) == 0;
    } catch (const CppSQLite3Exception&) {
        return false;
    }
}

} // namespace

CStoreBatch::CStoreBatch()
{
    CppSQLite3DB::GetInstance().Lock().lock();
    m_open = Run("begin");
}

CStoreBatch::~CStoreBatch()
{
    if (m_open)
        Run("rollback");
    CppSQLite3DB::GetInstance().Lock().unlock();
}

bool CStoreBatch::Commit()
{
    if (!m_open)
        return true;
    m_open = false;
    if (Run("commit"))
        return true;
    Run("rollback");
    return false;
}
