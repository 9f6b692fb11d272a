#pragma once

#include "WallModelBase.h"

#include <memory>
#include <string>

class CFrameEffect;
class CLcdWallLayout;
class CMatrixMgr;
class CSceneModel;

// The one entry to the core: the wall port, the command map and the settings, with the parts of the wall
// built on first request. Built once, on first use, and never freed.
class CWallModel : public CWallModelBase {
public:
    static CWallModel* GetInstance();
    ~CWallModel() override;

    CFrameEffect* GetFrameEffect();
    CLcdWallLayout* GetLcdWallLayout();
    CSceneModel* GetSceneModel();
    CMatrixMgr* GetMatrixMgr();

    // Stores the five values as the port's settings and writes them to the settings file's COMM section.
    int SaveComm(const std::string& port, int baud, int dataBits, int stopBits, int parity);

private:
    CWallModel();
    void Initialise();

    std::unique_ptr<CFrameEffect> m_frameEffect;
    std::unique_ptr<CSceneModel> m_sceneModel;
    std::unique_ptr<CLcdWallLayout> m_lcdWallLayout;
    std::unique_ptr<CMatrixMgr> m_matrixMgr;
};
