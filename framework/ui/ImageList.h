#pragma once
// A list of equally sized images, as list views and toolbars show them. Images come from bitmaps
// holding one or more images side by side; a mask colour marks the pixels that stay transparent.
#include "framework/core/Geometry.h"

#include <QImage>

#include <vector>

class CBitmap;
class CDC;

// Creation flags.
enum : unsigned { ILC_MASK = 0x1, ILC_COLOR = 0x0, ILC_COLOR24 = 0x18, ILC_COLOR32 = 0x20 };
// Drawing styles.
enum : unsigned { ILD_NORMAL = 0x0, ILD_TRANSPARENT = 0x1 };

class CImageList {
public:
    bool Create(int cx, int cy, unsigned flags, int initial, int grow);
    // Loads a bitmap of the resource module and cuts it into images cx wide.
    bool Create(int bitmapId, int cx, int grow, unsigned maskColour);
    bool DeleteImageList();
    bool IsCreated() const { return created_; }

    // Adds every image of the bitmap (its width divided by the image width, at least one) and returns
    // the index of the first; with a mask list, pixels of the mask colour become transparent. -1 when
    // the list or the bitmap was never created.
    int Add(const CBitmap* bitmap, unsigned maskColour);
    int Add(const QImage& image);
    bool Remove(int index);
    int GetImageCount() const { return static_cast<int>(images_.size()); }
    CSize GetImageSize() const { return {cx_, cy_}; }

    bool Draw(CDC* dc, int index, CPoint at, unsigned style) const;
    // The image with its transparent pixels (alpha 0); a null image for a bad index.
    QImage Image(int index) const;

private:
    bool created_ = false;
    bool masked_ = false;
    int cx_ = 0;
    int cy_ = 0;
    std::vector<QImage> images_;
};
