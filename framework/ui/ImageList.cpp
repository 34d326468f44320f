#include "framework/ui/ImageList.h"

#include "framework/ui/DC.h"
#include "framework/ui/Gdi.h"

bool CImageList::Create(int cx, int cy, unsigned flags, int, int) {
    if (cx <= 0 || cy <= 0)
        return false;
    images_.clear();
    cx_ = cx;
    cy_ = cy;
    masked_ = (flags & ILC_MASK) != 0;
    created_ = true;
    return true;
}

bool CImageList::Create(int bitmapId, int cx, int grow, unsigned maskColour) {
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(bitmapId) || !Create(cx, bitmap.Image().height(), ILC_COLOR32 | ILC_MASK, 0, grow))
        return false;
    return Add(&bitmap, maskColour) >= 0;
}

bool CImageList::DeleteImageList() {
    const bool was = created_;
    images_.clear();
    created_ = false;
    return was;
}

int CImageList::Add(const CBitmap* bitmap, unsigned maskColour) {
    if (!created_ || !bitmap || !bitmap->IsCreated())
        return -1;
    const QImage source = masked_ ? ColourKeyed(bitmap->Image(), maskColour)
                                  : bitmap->Image().convertToFormat(QImage::Format_ARGB32);
    const int count = std::max(1, source.width() / cx_);
    const int first = GetImageCount();
    for (int i = 0; i < count; ++i)
        images_.push_back(source.copy(i * cx_, 0, cx_, cy_));
    return first;
}

int CImageList::Add(const QImage& image) {
    if (!created_ || image.isNull())
        return -1;
    images_.push_back(image.convertToFormat(QImage::Format_ARGB32).scaled(cx_, cy_));
    return GetImageCount() - 1;
}

bool CImageList::Remove(int index) {
    if (index == -1) {
        images_.clear();
        return true;
    }
    if (index < 0 || index >= GetImageCount())
        return false;
    images_.erase(images_.begin() + index);
    return true;
}

QImage CImageList::Image(int index) const {
    if (index < 0 || index >= GetImageCount())
        return {};
    return images_[static_cast<std::size_t>(index)];
}

bool CImageList::Draw(CDC* dc, int index, CPoint at, unsigned) const {
    if (!dc || !dc->Painter() || index < 0 || index >= GetImageCount())
        return false;
    CPoint device = at;
    dc->LPtoDP(&device);
    dc->Painter()->drawImage(QPoint(device.x, device.y), images_[static_cast<std::size_t>(index)]);
    return true;
}
