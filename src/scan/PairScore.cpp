// The pair score of the comparison: vetoes, variant walk and GPS distance.
#include "scan/PairScore.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/ScanGlobals.h"
#include "model/ExifInfo.h"
#include "model/FingerprintWords.h"
#include "model/ImageFileInfo.h"

PairScoreOptions PairScoreOptions::fromSnapshot(const ScanGlobalsSnapshot &snapshot, float sliderMinValue)
{
    PairScoreOptions options;
    options.compareType = snapshot.compareType;
    options.sliderMinValue = sliderMinValue;
    options.reSizeValue = snapshot.reSizeValue;
    options.captureTimeInterval = snapshot.captureTimeInterval;
    options.gpsDistanceLimit = snapshot.gpsDistanceLimit;
    options.compareRotateImages = snapshot.compareRotateImages;
    options.compareFlipImages = snapshot.compareFlipImages;
    options.scanType = snapshot.scanType;
    return options;
}

bool PairScoreOptions::comparesFileDates() const
{
    return compareType == GlobalObjects::CompareType::ctHash && scanType != ScanSource::googleDrive;
}

RecordTimes RecordTimes::of(const ImageFileInfo &record)
{
    RecordTimes times;
    if (record.exifInfo && record.exifInfo->captureDate) {
        const QDateTime &capture = *record.exifInfo->captureDate;
        times.capture = capture.isValid() ? State::Valid : State::Invalid;
        times.captureMs = capture.isValid() ? capture.toMSecsSinceEpoch() : 0;
    }
    times.hasCreate = record.createDate.isValid();
    times.createMs = times.hasCreate ? record.createDate.toMSecsSinceEpoch() : 0;
    return times;
}

float PairScore::compareImages(
    const ImageFileInfo &a, const ImageFileInfo &b, const PairScoreOptions &options)
{
    return compareImages(a, RecordTimes::of(a), b, RecordTimes::of(b), options);
}

float PairScore::compareImages(const ImageFileInfo &a, const RecordTimes &aTimes, const ImageFileInfo &b,
    const RecordTimes &bTimes, const PairScoreOptions &options)
{
    if (options.compareType == GlobalObjects::CompareType::ctMD5
        && (a.fileSize != b.fileSize || a.fileMd5.isEmpty() || a.fileMd5 != b.fileMd5))
        return kNoMatch;
    if (b.blDoNotCompare)
        return kNoMatch;
    if (a.arrHashOfRotateFlipImages.isEmpty() || b.arrHashOfRotateFlipImages.isEmpty())
        return kNoMatch;
    if (isOutsideTimeLimit(aTimes, bTimes, options))
        return kNoMatch;
    if (gpsDistance(a, b) > options.gpsDistanceLimit)
        return kNoMatch;
    return hashDistanceScore(a, b, options);
}

// A difference involving an invalid date is 0, as QDateTime::msecsTo gives it.
PairScore::TimeVeto PairScore::timeVeto(
    const RecordTimes &a, const RecordTimes &b, const PairScoreOptions &options)
{
    using State = RecordTimes::State;
    const auto beyondLimit = [&options](qint64 differenceMs) {
        return std::abs(static_cast<double>(differenceMs)) / 1000.0 > options.captureTimeInterval;
    };
    if (a.capture != State::None && b.capture != State::None) {
        const qint64 differenceMs
            = a.capture == State::Valid && b.capture == State::Valid ? b.captureMs - a.captureMs : 0;
        return beyondLimit(differenceMs) ? TimeVeto::CaptureDates : TimeVeto::None;
    }
    if (options.comparesFileDates() && a.hasCreate && b.hasCreate)
        return beyondLimit(b.createMs - a.createMs) ? TimeVeto::FileDates : TimeVeto::None;
    return TimeVeto::None;
}

double PairScore::gpsDistance(const ImageFileInfo &a, const ImageFileInfo &b)
{
    if (!a.exifInfo || !b.exifInfo)
        return -1.0;
    const ExifInfo &ea = *a.exifInfo;
    const ExifInfo &eb = *b.exifInfo;
    if (ea.gpsLatitude == 0.0 || ea.gpsLongitude == 0.0 || eb.gpsLatitude == 0.0 || eb.gpsLongitude == 0.0)
        return -1.0;
    return greatCircleDistance(ea.gpsLatitude, ea.gpsLongitude, eb.gpsLatitude, eb.gpsLongitude);
}

double PairScore::greatCircleDistance(
    double latitudeA, double longitudeA, double latitudeB, double longitudeB)
{
    constexpr double toRadians = std::numbers::pi / 180.0;
    const double phiA = latitudeA * toRadians;
    const double phiB = latitudeB * toRadians;
    const double sinHalfPhi = std::sin((phiB - phiA) / 2.0);
    const double sinHalfLambda = std::sin((longitudeB - longitudeA) * toRadians / 2.0);
    const double h
        = sinHalfPhi * sinHalfPhi + std::cos(phiA) * std::cos(phiB) * sinHalfLambda * sinHalfLambda;
    return 2.0 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

std::int64_t PairScore::allowedDistance(int n, float sliderMinValue)
{
    const std::int64_t bits = static_cast<std::int64_t>(n) * n;
    const float allowedFraction = 1.0f - sliderMinValue;
    const float product = allowedFraction * static_cast<float>(bits);
    return static_cast<std::int64_t>(product);
}

bool PairScore::isVariantTried(int variant, const PairScoreOptions &options)
{
    return variant == 0 || (variant <= 3 ? options.compareRotateImages : options.compareFlipImages);
}

float PairScore::hashDistanceScore(
    const ImageFileInfo &a, const ImageFileInfo &b, const PairScoreOptions &options)
{
    const FingerprintVariants &av = a.arrHashOfRotateFlipImages;
    const FingerprintVariants &bv = b.arrHashOfRotateFlipImages;
    const int n = options.reSizeValue;
    if (n <= 0 || av.isEmpty() || bv.isEmpty())
        return kNoMatch;
    const std::int64_t bits = static_cast<std::int64_t>(n) * n;
    const std::int64_t allowed = allowedDistance(n, options.sliderMinValue);
    // Never read past either record's words, should a record carry another side than the scan's.
    const size_t words = std::min({ static_cast<size_t>(bits / 64), av.wordsPerPiece(), bv.wordsPerPiece() });
    const uint64_t *first = av.words(0).data();
    const int count = options.compareType == GlobalObjects::CompareType::ctMD5 ? 1 : bv.count();
    // Unrelated photos touch the first few words of every tried variant; asking for all of them
    // at once overlaps the memory reads that the walk would otherwise wait for one by one.
    for (int i = 0; i < count; ++i) {
        if (isVariantTried(i, options)) {
            const uint64_t *variantWords = bv.words(i).data();
            __builtin_prefetch(variantWords);
            __builtin_prefetch(variantWords + 8);
            __builtin_prefetch(variantWords + 16);
        }
    }
    std::int64_t distance = 0;
    for (int i = 0; i < count; ++i) {
        if (!isVariantTried(i, options))
            continue;
        distance = FingerprintWords::boundedDistance(first, bv.words(i).data(), words, allowed);
        // The first variant within the limit ends the walk, even when a later one is closer.
        if (distance <= allowed)
            break;
    }
    const float score = static_cast<float>(bits - distance) / static_cast<float>(bits);
    // Just past the allowed distance the quotient can round up to m itself (N = 80 stopping at
    // 960 gives exactly 0.85): a walk that matched no variant must never pass for a match.
    if (distance > allowed && score >= options.sliderMinValue)
        return kNoMatch;
    return score;
}
