// LibRaw behind one door: the size and orientation of a camera raw file, its embedded preview and,
// when the preview is missing or unusable, a half-size decode of the sensor data.
#pragma once

#include <memory>

#include <QImage>
#include <QSize>
#include <QString>

class RawLibrary;

class RawDecoder
{
public:
    // True for the extensions of the camera raw formats read through LibRaw.
    static bool isRawExtension(const QString &path);

    // Reads `readPath` when given (an already opened file's /proc path), `path` otherwise; log
    // lines always name `path`.
    explicit RawDecoder(const QString &path, const QString &readPath = QString());
    ~RawDecoder();
    RawDecoder(const RawDecoder &) = delete;
    RawDecoder &operator=(const RawDecoder &) = delete;

    bool isValid() const { return !size_.isEmpty(); }
    // Size of the picture as the sensor records it, before orientation.
    QSize size() const { return size_; }
    // EXIF orientation 1, 3, 6 or 8 that the camera recorded.
    int orientation() const { return orientation_; }
    // The embedded preview when usable at `minPixelSize`, scaled to fit `maxPixelSize`, not
    // oriented; else null. Charged to the decode budget from the size the file states before it is
    // read, refused when that is more than the budget.
    QImage embeddedThumbnail(int minPixelSize, int maxPixelSize);
    // A half-size decode of the sensor data scaled to fit, not oriented; null on failure.
    QImage decodeScaled(int maxPixelSize);

private:
    QImage previewOf(int minPixelSize, int maxPixelSize);

    QString path_;
    std::unique_ptr<RawLibrary> raw_;
    QSize size_;
    int orientation_ = 1;
};
