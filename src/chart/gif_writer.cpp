#include "gif_writer.h"

#include "text/localisation.h"

#include <QHash>
#include <QSaveFile>
#include <algorithm>
#include <gif_lib.h>
#include <vector>

namespace verdan {

namespace {

// Histogram bins hold 5 bits of each channel.
constexpr int kBins = 1 << 15;

int BinOf(QRgb c) {
    return ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3);
}

struct Bin {
    int index;
    quint64 count;
};

// A box of histogram bins, split along its widest channel at the median of its pixels.
struct Box {
    std::vector<Bin> bins;
    quint64 pixels = 0;

    int Channel(int bin, int channel) const { return (bin >> (10 - 5 * channel)) & 31; }
    int Range(int& widest) const {
        int best = -1;
        for (int ch = 0; ch < 3; ++ch) {
            int lo = 31;
            int hi = 0;
            for (const Bin& b : bins) {
                lo = std::min(lo, Channel(b.index, ch));
                hi = std::max(hi, Channel(b.index, ch));
            }
            if (hi - lo > best) {
                best = hi - lo;
                widest = ch;
            }
        }
        return best;
    }
};

QList<QRgb> MedianCut(const std::vector<quint64>& histogram, std::vector<quint8>& binColour) {
    Box all;
    for (int i = 0; i < kBins; ++i) {
        if (histogram[i] > 0) {
            all.bins.push_back({i, histogram[i]});
            all.pixels += histogram[i];
        }
    }
    std::vector<Box> boxes{all};
    while (boxes.size() < 256) {
        // Split the box with the most pixels among those that can still be split.
        int pick = -1;
        for (size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i].bins.size() > 1 && (pick < 0 || boxes[i].pixels > boxes[size_t(pick)].pixels))
                pick = int(i);
        if (pick < 0)
            break;
        Box box = std::move(boxes[size_t(pick)]);
        int channel = 0;
        box.Range(channel);
        std::sort(box.bins.begin(), box.bins.end(), [&](const Bin& a, const Bin& b) {
            return box.Channel(a.index, channel) < box.Channel(b.index, channel);
        });
        Box low;
        Box high;
        quint64 seen = 0;
        for (size_t k = 0; k < box.bins.size(); ++k) {
            const bool lower = (seen < box.pixels / 2 || low.bins.empty()) && k + 1 < box.bins.size();
            Box& side = lower ? low : high;
            side.bins.push_back(box.bins[k]);
            side.pixels += box.bins[k].count;
            seen += box.bins[k].count;
        }
        boxes[size_t(pick)] = std::move(low);
        boxes.push_back(std::move(high));
    }
    QList<QRgb> palette;
    for (size_t i = 0; i < boxes.size(); ++i) {
        quint64 r = 0;
        quint64 g = 0;
        quint64 b = 0;
        for (const Bin& bin : boxes[i].bins) {
            r += quint64((bin.index >> 10) & 31) * bin.count;
            g += quint64((bin.index >> 5) & 31) * bin.count;
            b += quint64(bin.index & 31) * bin.count;
            binColour[size_t(bin.index)] = quint8(i);
        }
        const quint64 n = std::max<quint64>(1, boxes[i].pixels);
        auto level = [&](quint64 sum) {
            return int((sum * 255 + n * 31 / 2) / (n * 31));
        };
        palette << qRgb(level(r), level(g), level(b));
    }
    return palette;
}

int WriteToSaveFile(GifFileType* gif, const GifByteType* data, int length) {
    auto* file = static_cast<QSaveFile*>(gif->UserData);
    return int(file->write(reinterpret_cast<const char*>(data), length));
}

} // namespace

QImage ReduceToPalette(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> exact;
    bool fits = true;
    for (int y = 0; y < image.height() && fits; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x] | 0xFF000000;
            if (!exact.contains(c)) {
                if (exact.size() == 256) {
                    fits = false;
                    break;
                }
                exact.insert(c, int(exact.size()));
            }
        }
    }
    QImage indexed(image.size(), QImage::Format_Indexed8);
    if (fits) {
        QList<QRgb> palette(exact.size());
        for (auto it = exact.cbegin(); it != exact.cend(); ++it)
            palette[it.value()] = it.key();
        indexed.setColorTable(palette.isEmpty() ? QList<QRgb>{qRgb(255, 255, 255)} : palette);
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            uchar* out = indexed.scanLine(y);
            for (int x = 0; x < image.width(); ++x)
                out[x] = uchar(exact.value(line[x] | 0xFF000000));
        }
        return indexed;
    }
    std::vector<quint64> histogram(kBins, 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ++histogram[size_t(BinOf(line[x]))];
    }
    std::vector<quint8> binColour(kBins, 0);
    indexed.setColorTable(MedianCut(histogram, binColour));
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            out[x] = binColour[size_t(BinOf(line[x]))];
    }
    return indexed;
}

bool WriteGif(const QImage& image, const QString& path, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (image.isNull() || image.width() > 65535 || image.height() > 65535)
        return fail(Translate(QStringLiteral("The picture is too large for a GIF file.")));
    const QImage indexed = ReduceToPalette(image);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    int status = 0;
    GifFileType* gif = EGifOpen(&file, WriteToSaveFile, &status);
    if (!gif)
        return fail(QString::fromUtf8(GifErrorString(status)));
    // The colour map holds a power of two entries; the unused ones stay black.
    const QList<QRgb> table = indexed.colorTable();
    int size = 2;
    while (size < table.size())
        size *= 2;
    ColorMapObject* map = GifMakeMapObject(size, nullptr);
    bool ok = map != nullptr;
    if (ok) {
        for (int i = 0; i < size; ++i) {
            const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
            map->Colors[i] =
                GifColorType{GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))};
        }
        ok = EGifPutScreenDesc(gif, indexed.width(), indexed.height(), 8, 0, map) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
        std::vector<GifPixelType> line(size_t(indexed.width()));
        for (int y = 0; ok && y < indexed.height(); ++y) {
            std::copy_n(indexed.constScanLine(y), indexed.width(), line.begin());
            ok = EGifPutLine(gif, line.data(), indexed.width()) == GIF_OK;
        }
    }
    const int failure = gif->Error;
    ok = EGifCloseFile(gif, &status) == GIF_OK && ok;
    if (map)
        GifFreeMapObject(map);
    if (!ok)
        return fail(QString::fromUtf8(GifErrorString(failure ? failure : status)));
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace verdan
