#include "LcdWallLayout.h"

#include "ErrorMessage.h"
#include "SystemConfig.h"
#include "WallDefaults.h"
#include "WallModelBase.h"

#include <algorithm>
#include <cmath>
#include <limits>

const OutputResolution OutputResolutionTable[kOutputResolutionCount] = {
    {1024, 768}, {1280, 720}, {1366, 768}, {1440, 900}, {1280, 1024}, {1600, 1200}, {1920, 1080}, {1920, 1200},
};

namespace {

// One index for the process: the wall view converts rectangles without a layout at hand.
int g_resolutionIndex = kDefaultResolutionIndex;

bool IsResolutionIndex(int index) { return index >= 0 && index < kOutputResolutionCount; }

// Truncates toward zero; values beyond the int range stop at its ends instead of being undefined.
LONG ToLong(double value) {
    if (std::isnan(value))
        return 0;
    const double low = std::numeric_limits<LONG>::min();
    const double high = std::numeric_limits<LONG>::max();
    return static_cast<LONG>(std::clamp(std::trunc(value), low, high));
}

// A cell of no width (or height) has no scale: that axis maps to 0 rather than dividing by zero. A hidden cell's
// inclusive rectangle is one pixel "wide" backwards; it has no scale either, so no negative place goes out.
double Scale(int outputPixels, LONG cellPixels) {
    return cellPixels <= 0 ? 0.0 : static_cast<double>(outputPixels) / static_cast<double>(cellPixels);
}

} // namespace

CLcdWallLayout::CLcdWallLayout(CWallModelBase* owner) : m_rows(0), m_cols(0), m_owner(owner) {
    CSystemConfig* settings = m_owner->GetSettings();
    int index = kDefaultResolutionIndex;
    settings->LoadPixel(index);
    g_resolutionIndex = IsResolutionIndex(index) ? index : kDefaultResolutionIndex;

    int rows = kDefaultWallRows;
    int cols = kDefaultWallCols;
    settings->LoadRowCol(rows, cols);
    BuildDefaultMap(std::clamp(rows, kMinWallRows, kMaxWallRows), std::clamp(cols, kMinWallCols, kMaxWallCols));

    // Items outside the wall are refused one by one and ignored.
    settings->LoadOutputMapping(this);
}

int CLcdWallLayout::GetRowCol(int& rows, int& cols) const {
    rows = m_rows;
    cols = m_cols;
    return 1;
}

int CLcdWallLayout::SetRowCol(int rows, int cols) {
    if (rows < kMinWallRows || rows > kMaxWallRows || cols < kMinWallCols || cols > kMaxWallCols)
        return kResultInvalidParam;
    if (rows != m_rows || cols != m_cols)
        BuildDefaultMap(rows, cols);
    // The size and its map go to the file in one replacement: a program stopped between two writes would come
    // back with a map that belongs to the old size.
    const int result = m_owner->GetSettings()->SaveRowColAndMapping(this);
    if (result != 0)
        return result;
    m_owner->RaiseEvent("WALLMAP-CHANGE");
    m_owner->RaiseEvent("ROWCOL-CHANGE");
    return kResultOk;
}

bool CLcdWallLayout::IsUnit(int row, int col) const { return row >= 1 && row <= m_rows && col >= 1 && col <= m_cols; }

int CLcdWallLayout::GetOutput(int row, int col) const {
    if (!IsUnit(row, col))
        return kResultInvalidParam;
    return m_outputMap[static_cast<size_t>((row - 1) * m_cols + col - 1)];
}

bool CLcdWallLayout::IsOutputNumber(int output) { return output >= 0 && output <= kMaxMatrixChannel; }

int CLcdWallLayout::SetOutput(int row, int col, int output) {
    if (!IsUnit(row, col) || !IsOutputNumber(output))
        return kResultInvalidParam;
    const int own = (row - 1) * m_cols + col;
    m_outputMap[static_cast<size_t>(own - 1)] = output == 0 ? own : output;
    return kResultOk;
}

void CLcdWallLayout::BuildDefaultMap(int rows, int cols) {
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    std::vector<int> map(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    for (size_t i = 0; i < map.size(); ++i)
        map[i] = static_cast<int>(i) + 1;
    m_cols = cols;
    m_rows = rows;
    m_outputMap.swap(map);
}

int CLcdWallLayout::SaveOutputMap() {
    const int result = m_owner->GetSettings()->SaveOutputMapping(this);
    if (result == 0)
        m_owner->RaiseEvent("WALLMAP-CHANGE");
    return result;
}

int CLcdWallLayout::GetResolution(int& index) const {
    index = g_resolutionIndex;
    return 1;
}

int CLcdWallLayout::SetResolution(int index) {
    if (!IsResolutionIndex(index))
        return kResultInvalidParam;
    g_resolutionIndex = index;
    return m_owner->GetSettings()->SavePixel(index);
}

BOOL CLcdWallLayout::IsPipEnabled() const { return m_owner->GetSettings()->IsPipEnabled(); }

CRect CLcdWallLayout::CanvasToOutput(CRect cell, CRect rect) {
    const OutputResolution& resolution = OutputResolutionTable[g_resolutionIndex];
    const double sx = Scale(resolution.width, cell.right - cell.left);
    const double sy = Scale(resolution.height, cell.bottom - cell.top);
    return CRect(ToLong(rect.left * sx), ToLong(rect.top * sy), ToLong(rect.right * sx), ToLong(rect.bottom * sy));
}

CRect CLcdWallLayout::OutputToCanvas(CRect cell, CRect rect) {
    const OutputResolution& resolution = OutputResolutionTable[g_resolutionIndex];
    // The nearest canvas pixel, where the way out truncated.
    const auto toCanvas = [](LONG v, LONG cellPixels, int outputPixels) -> LONG {
        if (cellPixels <= 0 || outputPixels <= 0)
            return 0;
        return ToLong(std::round(static_cast<double>(v) * cellPixels / outputPixels));
    };
    const LONG w = cell.right - cell.left;
    const LONG h = cell.bottom - cell.top;
    return CRect(toCanvas(rect.left, w, resolution.width), toCanvas(rect.top, h, resolution.height),
                 toCanvas(rect.right, w, resolution.width), toCanvas(rect.bottom, h, resolution.height));
}

int CLcdWallLayout::SendWindow(const char* command, const RECT* wallRect, const RECT* area) {
    const RECT none{0, 0, 0, 0};
    // SendWindowCommand raises the command's event after a good write.
    return m_owner->SendWindowCommand(command, wallRect ? wallRect : &none, area, 0);
}

int CLcdWallLayout::OpenWindow(const RECT* wallRect, const RECT* area) {
    return SendWindow("P-OPEN-WINDOW", wallRect, area);
}
int CLcdWallLayout::MoveWindow(const RECT* wallRect, const RECT* area) {
    return SendWindow("P-MOVE-WINDOW", wallRect, area);
}
int CLcdWallLayout::CloseWindow(const RECT* area) { return SendWindow("P-CLOSE-WINDOW", nullptr, area); }
int CLcdWallLayout::SetPipSourceDvi(const RECT* area) { return SendWindow("P-PIP-SOURCE-DVI", nullptr, area); }
int CLcdWallLayout::SetPipSourceHdmi(const RECT* area) { return SendWindow("P-PIP-SOURCE-HDMI", nullptr, area); }
int CLcdWallLayout::SetPipSourceVga(const RECT* area) { return SendWindow("P-PIP-SOURCE-VGA", nullptr, area); }
int CLcdWallLayout::SetPipSourceVideo1(const RECT* area) { return SendWindow("P-PIP-SOURCE-VIDEO1", nullptr, area); }
int CLcdWallLayout::SetPipSourceVideo2(const RECT* area) { return SendWindow("P-PIP-SOURCE-VIDEO2", nullptr, area); }
