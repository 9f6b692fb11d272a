#pragma once

#include "XmlLoad.h"
#include "platform/os/Types.h"

#include <functional>
#include <memory>
#include <string>

class TiXmlDocument;
class TiXmlElement;
class CLcdWallLayout;
class CSceneModel;

// The settings file, ".\system.xml": loaded once, held for the whole run, and written back whole after every
// change. Sections the program does not know, and attributes it does not set, are kept.
class CSystemConfig {
public:
    // The process's settings holder, created not loaded on first use and never freed.
    static CSystemConfig* GetInstance();

    // Loads the file on the first call only; later calls do nothing. 1.
    int Load(const std::string& path);
    // How the file's loading ended; kMissing before it was loaded.
    const XmlLoadStatus& GetLoadStatus() const { return m_loadStatus; }

    // Readers. A missing number leaves the caller's variable as it was, unless said otherwise; so does a port
    // number no port can be opened with (a baud rate below 1, data bits outside 5 to 8, a stop-bits index
    // outside 0 to 2, a parity index outside 0 to 4).
    int LoadComm(std::string& port, int& baud, int& dataBits, int& stopBits, int& parity);
    int LoadMonitorComm(std::string& port, int& baud, int& dataBits, int& stopBits, int& parity);
    int LoadFrameEffect(BOOL& enabled, BYTE& horizontal, BYTE& vertical);
    int LoadMatrixPage(int& itemX1, int& item02, int& item12, int& item22, int& item32);
    BOOL IsPipEnabled();
    int LoadPixel(int& index);
    int LoadRowCol(int& rows, int& cols);
    int LoadSystemInfo(std::string& name, std::string& version, std::string& company, std::string& title);
    int LoadOutputMapping(CLcdWallLayout* layout);
    void LoadScenes(CSceneModel* model);
    TiXmlElement* FindSceneItem(const std::string& name);
    int LoadMatrixRecords(CSceneModel* model, const std::string& name);

    // Writers: each sets attributes on the element that is there and writes the whole file. Their results do
    // not tell whether the file was written: when it was not (the file was missing or broken at start-up, lacks
    // the section, or cannot be written), the operator is told in an error box naming the file, and the change
    // holds in memory. A change that would take the file over one of its limits is told and undone in the
    // document; SaveScene and RenameScene then return kResultNotSaved.
    int SaveComm(const std::string& port, int baud, int dataBits, int stopBits, int parity);
    int SaveMonitorComm(const std::string& port, int baud, int dataBits, int stopBits, int parity);
    int SaveFrameEffect(BOOL enabled, BYTE horizontal, BYTE vertical);
    int SaveMatrixPage(int itemX1, int item02, int item12, int item22, int item32);
    int SaveRowCol(int rows, int cols);
    int SavePixel(int index);
    int SaveOutputMapping(CLcdWallLayout* layout);
    // LCDWALL row and col and the output map together, in one replacement of the file, so that the file never
    // holds a size with the map of another. 64 without a layout, else 0.
    int SaveRowColAndMapping(CLcdWallLayout* layout);
    int SaveScene(CSceneModel* model, const std::string& name, int left, int top, int right, int bottom);
    int RenameScene(const std::string& oldName, const std::string& newName);

private:
    CSystemConfig();

    TiXmlElement* Section(const char* name) const;
    TiXmlElement* Section(const char* parent, const char* name) const;
    // The section to write into; null, after telling the operator, when there is none.
    TiXmlElement* WritableSection(const char* name);
    TiXmlElement* WritableSection(const char* parent, const char* name);
    void SetOutputMapping(TiXmlElement* wall, CLcdWallLayout* layout);
    // Makes the change to the section and writes the file. 0 when written, or when the write failed and the
    // operator was told; kResultNotSaved, after telling the operator, when the change would take the file over one
    // of its limits: the section is then put back as it was.
    int WriteChange(TiXmlElement* section, const std::function<void(TiXmlElement*)>& change);

    BOOL m_loaded;
    std::unique_ptr<TiXmlDocument> m_document;
    TiXmlElement* m_root;
    std::string m_path;
    XmlLoadStatus m_loadStatus;
};
