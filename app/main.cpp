// Start-up until the main window arrives: open the log channel and the
// database, mark the stored devices off-line, and end.
#include "base/CommControl.h"
#include "base/Log.h"
#include "base/MessageBox.h"
#include "base/ProgramDir.h"
#include "store/CppSQLite3DB.h"
#include "store/CppSQLite3Exception.h"
#include "store/DbAccess.h"

#include <QCoreApplication>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CCommControl::GetInstance()->Channel().Open();
    try {
        CppSQLite3DB::GetInstance().Open(MakeProgramPath(QStringLiteral("DB\\Kestrovane.db")));
    } catch (const CppSQLite3Exception& e) {
        ShowMessageBox(e.GetText(), kMsgCaption, kMsgStyleOk);
        std::_Exit(0);
    }
    CDbAccess::GetInstance()->ResetDeviceStates();
    LogInfo(QStringLiteral("Kestrovane started in %s"), GetProgramDir());
    return 0;
}
