#include "WallModel.h"

#include "CommPort.h"
#include "FrameEffect.h"
#include "LcdWallLayout.h"
#include "MatrixMgr.h"
#include "SceneModel.h"
#include "SystemConfig.h"

CWallModel::CWallModel() = default;

// The scene model listens to the matrix manager, so it goes first.
CWallModel::~CWallModel() { m_sceneModel.reset(); }

CWallModel* CWallModel::GetInstance() {
    static CWallModel* instance = [] {
        auto* model = new CWallModel;
        model->Initialise();
        return model;
    }();
    return instance;
}

void CWallModel::Initialise() {
    // Numbers the COMM section lacks keep the record's start values (9600 8N1); the port stays closed.
    CCommPortSetting* port = GetCommPort();
    GetSettings()->LoadComm(port->m_portName, port->m_baudRate, port->m_dataBits, port->m_stopBits, port->m_parity);
}

CFrameEffect* CWallModel::GetFrameEffect() {
    if (!m_frameEffect)
        m_frameEffect = std::make_unique<CFrameEffect>(this);
    return m_frameEffect.get();
}

CLcdWallLayout* CWallModel::GetLcdWallLayout() {
    if (!m_lcdWallLayout)
        m_lcdWallLayout = std::make_unique<CLcdWallLayout>(this);
    return m_lcdWallLayout.get();
}

CSceneModel* CWallModel::GetSceneModel() {
    if (!m_sceneModel)
        m_sceneModel = std::make_unique<CSceneModel>(this);
    return m_sceneModel.get();
}

// The first request reads "matrix.xml".
CMatrixMgr* CWallModel::GetMatrixMgr() {
    if (!m_matrixMgr)
        m_matrixMgr = std::make_unique<CMatrixMgr>(this);
    return m_matrixMgr.get();
}

int CWallModel::SaveComm(const std::string& port, int baud, int dataBits, int stopBits, int parity) {
    GetCommPort()->SetSettings(port, baud, dataBits, stopBits, parity);
    return GetSettings()->SaveComm(port, baud, dataBits, stopBits, parity);
}
