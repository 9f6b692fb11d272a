#include "ResourceTables.h"

#include "platform/gui/ResourceTable.h"

extern const MenuTemplate kProgramMenus[2];
extern const AccelTemplate kProgramAccelerators[1];
extern const StringTemplate kProgramStrings[2];
extern void RegisterProgramIcons();

void RegisterResourceTables() {
    CResourceTable::AddMenus(kProgramMenus);
    CResourceTable::AddAccelerators(kProgramAccelerators);
    CResourceTable::AddStrings(kProgramStrings);
    RegisterProgramIcons();
}
