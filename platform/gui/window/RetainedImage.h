#pragma once

#include <QImage>
#include <QRegion>
#include <QSize>

// The client-sized picture a window keeps while it draws outside its paints, and what of it the screen does not
// show yet: the parts that hold drawing no paint has covered since, and the parts painted on it that Qt's paint
// events have not copied yet. The window drops it once both are empty, but for what its children hide.
class RetainedImage {
public:
    bool Kept() const { return m_kept; }
    // Starts keeping an image, white, as a window that was never painted shows.
    void Keep();
    void Drop();

    // The image at the client area's size: what it showed stays at the top left, as far as every size since kept
    // it; the rest is white. Null while none is kept (and an empty image while the client area is empty).
    QImage* At(const QSize& size);
    // The client area took a new size; the image follows on its next use, so that sizes a window passes through
    // on its way cost no image each. What a smaller size in between cut off is lost all the same.
    void NoteSize(const QSize& size) { m_keptSize = m_keptSize.boundedTo(size.expandedTo(QSize(0, 0))); }

    // Drawing outside a paint touched the whole client area.
    void DrawnOutsidePaint(const QRegion& client) {
        m_drawn = client;
        m_unshown = client;
    }
    // A paint drew on the image: what it covered holds what the paints draw, and waits to be shown.
    void Painted(const QRegion& region) {
        m_drawn -= region;
        m_unshown += region;
    }
    // The screen now shows a part of the image; the image goes once the screen shows all that paints draw, but
    // for what opaque children hide (Qt never paints there).
    void Shown(const QRegion& region, const QRegion& hidden);

private:
    bool m_kept = false;
    QImage m_image;
    QSize m_keptSize{0, 0}; // the top left part of the image that still shows what it showed
    QRegion m_drawn;
    QRegion m_unshown;
};
