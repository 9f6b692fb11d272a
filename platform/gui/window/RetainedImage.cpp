#include "RetainedImage.h"

#include <algorithm>
#include <cstring>

void RetainedImage::Keep() {
    if (m_kept)
        return;
    m_kept = true;
    m_keptSize = QSize(0, 0);
    m_image = QImage();
}

void RetainedImage::Drop() {
    m_kept = false;
    m_image = QImage();
    m_drawn = QRegion();
    m_unshown = QRegion();
}

QImage* RetainedImage::At(const QSize& size) {
    if (!m_kept)
        return nullptr;
    const QSize keep = m_keptSize.boundedTo(size);
    if (m_image.size() == size && keep == size)
        return &m_image;
    m_keptSize = size.expandedTo(QSize(0, 0));
    if (size.isEmpty()) {
        m_image = QImage();
        return &m_image;
    }
    const QRgb white = qRgb(255, 255, 255);
    if (m_image.size() == size) {
        // The same pixels, whitened where a smaller size in between cut them off.
        for (int y = 0; y < size.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
            std::fill(line + (y < keep.height() ? keep.width() : 0), line + size.width(), white);
        }
        return &m_image;
    }
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        int x = 0;
        if (y < keep.height() && keep.width() > 0) {
            std::memcpy(line, m_image.constScanLine(y), static_cast<size_t>(keep.width()) * sizeof(QRgb));
            x = keep.width();
        }
        std::fill(line + x, line + size.width(), white);
    }
    m_image = image;
    return &m_image;
}

void RetainedImage::Shown(const QRegion& region, const QRegion& hidden) {
    m_unshown -= region;
    if ((m_drawn - hidden).isEmpty() && (m_unshown - hidden).isEmpty())
        Drop();
}
