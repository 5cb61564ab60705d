#include "support/TestProgramDir.h"

#include "base/ProgramDir.h"
#include "store/CppSQLite3DB.h"
#include "store/ProgramLayout.h"

#include <gtest/gtest.h>

TestProgramDir::TestProgramDir() : m_dir(QDir::tempPath() + QStringLiteral("/kestrovane-test-XXXXXX"))
{
    const QString error = LayoutProgramDir(m_dir.path(), QStringLiteral(KV_SCHEMA), QStringLiteral(KV_PICTURES));
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    SetProgramDir(m_dir.path());
    CppSQLite3DB::GetInstance().Open(DbPath());
}

TestProgramDir::~TestProgramDir() { CppSQLite3DB::GetInstance().Close(); }
