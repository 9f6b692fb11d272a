#pragma once

#include "platform/os/Rect.h"
#include "platform/os/Types.h"

#include <vector>

class CWallModelBase;

// The output resolution of one unit.
struct OutputResolution {
    int width;
    int height;
};

constexpr int kOutputResolutionCount = 8;
extern const OutputResolution OutputResolutionTable[kOutputResolutionCount];

// The wall's geometry: rows and columns of units, the matrix output driving each unit, and the output
// resolution of one unit (one index for the whole process). Also sends the PIP window commands.
class CLcdWallLayout {
public:
    explicit CLcdWallLayout(CWallModelBase* owner);

    int GetRowCol(int& rows, int& cols) const;
    // 64 for a size outside 1 to 16; a new size drops the operator's map for the default one.
    int SetRowCol(int rows, int cols);
    // Units are 1-based; 64 for a unit outside the wall.
    int GetOutput(int row, int col) const;
    // Output 0 stores the unit's own row-major number; 64 for a number no matrix output has.
    int SetOutput(int row, int col, int output);
    // 0 (the unit's own number) to the largest channel a matrix takes.
    static bool IsOutputNumber(int output);
    void BuildDefaultMap(int rows, int cols);
    int SaveOutputMap();

    int GetResolution(int& index) const;
    // 64 for an index the table does not have.
    int SetResolution(int index);
    BOOL IsPipEnabled() const;

    // A rectangle of the wall view in output pixels, one cell of the view being one unit's full resolution.
    static CRect CanvasToOutput(CRect cell, CRect rect);
    // And back: the canvas rectangle that shows an output rectangle at the cell's size.
    static CRect OutputToCanvas(CRect cell, CRect rect);

    int OpenWindow(const RECT* wallRect, const RECT* area);
    int MoveWindow(const RECT* wallRect, const RECT* area);
    int CloseWindow(const RECT* area);
    int SetPipSourceDvi(const RECT* area);
    int SetPipSourceHdmi(const RECT* area);
    int SetPipSourceVga(const RECT* area);
    int SetPipSourceVideo1(const RECT* area);
    int SetPipSourceVideo2(const RECT* area);

private:
    bool IsUnit(int row, int col) const;
    int SendWindow(const char* command, const RECT* wallRect, const RECT* area);

    int m_rows;
    int m_cols;
    std::vector<int> m_outputMap;
    CWallModelBase* m_owner;
};
