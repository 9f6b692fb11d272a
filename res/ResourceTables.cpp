#include "ResourceTables.h"

#include "platform/gui/frame/ResourceTable.h"

extern const DlgTemplate kProgramDialogs[2];
extern const DlgTemplate kBannerDialogs[8];
extern const DlgTemplate kSceneMatrixDialogs[2];
extern const MenuTemplate kProgramMenus[2];
extern const AccelTemplate kProgramAccelerators[1];
extern const StringTemplate kProgramStrings[6];
extern void RegisterProgramIcons();
extern const DlgTemplate kConfigDialogs[4];

void RegisterResourceTables() {
    CResourceTable::AddDialogs(kProgramDialogs);
    CResourceTable::AddDialogs(kBannerDialogs);
    CResourceTable::AddDialogs(kSceneMatrixDialogs);
    CResourceTable::AddMenus(kProgramMenus);
    CResourceTable::AddAccelerators(kProgramAccelerators);
    CResourceTable::AddStrings(kProgramStrings);
    RegisterProgramIcons();
    CResourceTable::AddDialogs(kConfigDialogs);
}
