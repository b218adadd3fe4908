#pragma once

#include "SkinGeometry.h"
#include "SkinModel.h"

#include <QImage>
#include <QPixmap>
#include <QRegion>

/** The five pictures of a loaded skin, and what the controls cut out of them. */
class SkinPictures
{
public:
    /** Loads every picture the model names; a missing or unreadable file leaves that picture empty. */
    void Load(const SkinModel& model);
    void Clear();

    const QImage& Normal() const { return m_normal; }
    const QImage& Mask() const { return m_mask; }
    const QImage& Over() const { return m_over; }
    const QImage& Down() const { return m_down; }
    const QImage& Disabled() const { return m_disabled; }

    /** The part of `picture` under `rect` (an empty pixmap when the picture is empty). */
    static QPixmap Cut(const QImage& picture, const SkinRect& rect);

    /** The window outline of a mask: its pixels that are not pure white. Empty for an empty mask. */
    static QRegion RegionOfMask(const QImage& mask);

private:
    QImage m_normal;
    QImage m_mask;
    QImage m_over;
    QImage m_down;
    QImage m_disabled;
};
