#include "ResourceTables.h"

#include "platform/gui/ResourceTable.h"

extern const DlgTemplate kProgramDialogs[3];
extern const DlgTemplate kConfigDialogs[4];
extern const MenuTemplate kProgramMenus[2];
extern const AccelTemplate kProgramAccelerators[1];
extern const StringTemplate kProgramStrings[6];
extern void RegisterProgramIcons();

void RegisterResourceTables() {
    CResourceTable::AddDialogs(kProgramDialogs);
    CResourceTable::AddDialogs(kConfigDialogs);
    CResourceTable::AddMenus(kProgramMenus);
    CResourceTable::AddAccelerators(kProgramAccelerators);
    CResourceTable::AddStrings(kProgramStrings);
    RegisterProgramIcons();
}
