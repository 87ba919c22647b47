#include "core/bitmap_memory.h"

#include <sys/mman.h>

#include <cstring>
#include <limits>

namespace quor {

namespace {

// Below this the page faults are too few to matter, and a mapping of its
// own would waste the rest of a huge page.
constexpr qsizetype LargeBytes = qsizetype(8) << 20;
constexpr std::size_t HugePage = std::size_t(2) << 20;

struct Mapping
{
    void *address;
    std::size_t length;
};

void unmap(void *info)
{
    auto *mapping = static_cast<Mapping *>(info);
    munmap(mapping->address, mapping->length);
    delete mapping;
}

} // namespace

QImage newBitmap(QSize size, QImage::Format format)
{
    if (size.isEmpty())
        return {};
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    // Rows on 32-bit boundaries, as Qt lays them out itself.
    const qsizetype bytesPerLine = ((qsizetype(size.width()) * depth + 31) >> 5) << 2;
    if (depth != 32 || bytesPerLine > std::numeric_limits<int>::max() / 2
        || bytesPerLine * size.height() < LargeBytes)
        return QImage(size, format);
    const std::size_t bytes = std::size_t(bytesPerLine) * std::size_t(size.height());
    const std::size_t length = (bytes + HugePage - 1) / HugePage * HugePage;
    void *address = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED)
        return {};
    madvise(address, length, MADV_HUGEPAGE); // a hint: without it, ordinary pages
    auto *mapping = new Mapping{address, length};
    QImage image(static_cast<uchar *>(address), size.width(), size.height(), bytesPerLine,
                 format, &unmap, mapping);
    if (image.isNull())
        unmap(mapping);
    return image;
}

QImage copiedBitmap(const QImage &source)
{
    if (source.isNull() || source.depth() != 32)
        return source.copy(); // small pictures and colour tables: Qt's own copy
    QImage copy = newBitmap(source.size(), source.format());
    if (copy.isNull())
        return copy;
    copy.setDevicePixelRatio(source.devicePixelRatio());
    copy.setDotsPerMeterX(source.dotsPerMeterX());
    copy.setDotsPerMeterY(source.dotsPerMeterY());
    if (copy.bytesPerLine() == source.bytesPerLine()) {
        std::memcpy(copy.bits(), source.constBits(), std::size_t(source.sizeInBytes()));
    } else {
        const std::size_t row = std::size_t(std::min(copy.bytesPerLine(), source.bytesPerLine()));
        for (int y = 0; y < source.height(); ++y)
            std::memcpy(copy.scanLine(y), source.constScanLine(y), row);
    }
    return copy;
}

} // namespace quor
