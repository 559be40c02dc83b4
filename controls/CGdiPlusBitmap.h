// A picture with transparency held by an image button, and the variant that
// loads itself from one of the program's PNG resources.
#pragma once

#include <QImage>

namespace sonoria {

// Owns one picture; null when empty.
class CGdiPlusBitmap {
public:
    CGdiPlusBitmap() = default;
    explicit CGdiPlusBitmap(const QImage& image);
    virtual ~CGdiPlusBitmap() = default;

    CGdiPlusBitmap(const CGdiPlusBitmap&) = default;
    CGdiPlusBitmap& operator=(const CGdiPlusBitmap&) = default;

    bool IsEmpty() const { return m_image.isNull(); }
    const QImage& Image() const { return m_image; }

    // Replaces the picture with `image` (a null image empties it).
    void SetImage(const QImage& image);
    void Empty();

    // In device-independent pixels, whatever the picture's density.
    int Width() const { return qRound(m_image.deviceIndependentSize().width()); }
    int Height() const { return qRound(m_image.deviceIndependentSize().height()); }

protected:
    QImage m_image;
};

// A picture read from PNG resource `id`.
class CGdiPlusBitmapResource : public CGdiPlusBitmap {
public:
    CGdiPlusBitmapResource() = default;
    explicit CGdiPlusBitmapResource(int id) { LoadFromResource(id); }

    // Drops any previous picture, then loads PNG `id`; false (and empty) when
    // the resource is missing or cannot be decoded.
    bool LoadFromResource(int id);

    // The id of the last successful load, 0 when none.
    int ResourceId() const { return m_resourceId; }

private:
    int m_resourceId = 0;
};

}  // namespace sonoria
