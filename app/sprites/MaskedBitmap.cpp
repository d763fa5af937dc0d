#include "app/sprites/MaskedBitmap.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

QImage MaskedBitmap::screenFormat(const QImage &picture)
{
    if (picture.format() == QImage::Format_RGB32)
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

QImage MaskedBitmap::makeMask(QImage &frame, QRgb transparent)
{
    frame = screenFormat(frame);
    QImage mask(frame.size(), QImage::Format_RGB32);
    for (int y = 0; y < frame.height(); ++y) {
        auto *f = reinterpret_cast<QRgb *>(frame.scanLine(y));
        auto *m = reinterpret_cast<QRgb *>(mask.scanLine(y));
        for (int x = 0; x < frame.width(); ++x) {
            if (sameColour(f[x], transparent)) {
                m[x] = kMaskKeep;
                f[x] = kMaskClear;
            } else {
                m[x] = kMaskClear;
            }
        }
    }
    return mask;
}

QRect MaskedBitmap::opaqueBounds(const QImage &mask)
{
    int left = mask.width(), right = -1, top = mask.height(), bottom = -1;
    for (int y = 0; y < mask.height(); ++y) {
        const auto *m = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            if (m[x] != kMaskKeep) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void MaskedBitmap::copyRect(QImage &dst, const QImage &src, const QRect &rect)
{
    const QRect r = rect & dst.rect() & src.rect();
    if (r.isEmpty())
        return;
    const size_t bytes = size_t(r.width()) * sizeof(QRgb);
    uchar *d = dst.bits() + r.top() * dst.bytesPerLine() + r.left() * int(sizeof(QRgb));
    const uchar *s = src.constBits() + r.top() * src.bytesPerLine() + r.left() * int(sizeof(QRgb));
    for (int y = r.top(); y <= r.bottom(); ++y, d += dst.bytesPerLine(), s += src.bytesPerLine())
        std::memcpy(d, s, bytes);
}

void MaskedBitmap::compose(QImage &dst, const QPoint &at, const QImage &frame, const QImage &mask,
                           const QRect &clip, const QRect &part)
{
    const QRect r = (part & frame.rect()).translated(at) & clip & dst.rect();
    if (r.isEmpty())
        return;
    const int dx = r.left() - at.x();
    const qsizetype dstLine = dst.bytesPerLine(), frameLine = frame.bytesPerLine(),
                    maskLine = mask.bytesPerLine();
    uchar *dRow = dst.bits() + r.top() * dstLine;
    const uchar *fRow = frame.constBits() + (r.top() - at.y()) * frameLine;
    const uchar *mRow = mask.constBits() + (r.top() - at.y()) * maskLine;
    for (int y = r.top(); y <= r.bottom();
         ++y, dRow += dstLine, fRow += frameLine, mRow += maskLine) {
        auto *d = reinterpret_cast<QRgb *>(dRow) + r.left();
        const auto *f = reinterpret_cast<const QRgb *>(fRow) + dx;
        const auto *m = reinterpret_cast<const QRgb *>(mRow) + dx;
        const int n = r.width();
        int x = 0;
#ifdef __SSE2__
        // Four pixels at a time.
        for (; x + 4 <= n; x += 4) {
            const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i *>(d + x));
            const __m128i mv = _mm_loadu_si128(reinterpret_cast<const __m128i *>(m + x));
            const __m128i fv = _mm_loadu_si128(reinterpret_cast<const __m128i *>(f + x));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(d + x),
                             _mm_or_si128(_mm_and_si128(dv, mv), fv));
        }
#endif
        for (; x < n; ++x)
            d[x] = (d[x] & m[x]) | f[x];
    }
}
