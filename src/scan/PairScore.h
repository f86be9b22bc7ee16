// How alike two photo records are: cheap vetoes first (in exact mode equal size and identical
// content by MD5, so that a photo with a few pixels changed is never an exact copy; comparability,
// capture-time difference, GPS distance), then the Hamming distance of their fingerprints over
// the variants the options allow. The options are a snapshot taken when the comparison starts,
// so the comparison threads never read state that the window may change.
#pragma once

#include <cstdint>

#include "app/GlobalObjects.h"

class ImageFileInfo;
struct ScanGlobalsSnapshot;

struct PairScoreOptions {
    GlobalObjects::CompareType compareType = GlobalObjects::CompareType::ctHash;
    // m, the grouping threshold; single precision on purpose (see allowedDistance).
    float sliderMinValue = 0.85f;
    // N, the side of the fingerprint bitmap.
    int reSizeValue = 64;
    // Seconds; a difference equal to the limit passes.
    double captureTimeInterval = 0.0;
    // Metres; a distance equal to the limit passes.
    double gpsDistanceLimit = 0.0;
    bool compareRotateImages = false;
    bool compareFlipImages = false;
    ScanSource scanType = ScanSource::thisComputer;

    // Whether file dates are compared at all: in similar mode, outside Google Drive.
    bool comparesFileDates() const;

    static PairScoreOptions fromSnapshot(const ScanGlobalsSnapshot &snapshot, float sliderMinValue);
};

// A record's dates as milliseconds since the epoch. Converting a local date costs a time-zone
// lookup under a process-wide lock, far more than the rest of a pair score, so the comparison
// converts each record's once.
struct RecordTimes {
    enum class State : std::uint8_t { None, Invalid, Valid };
    // The EXIF capture date: none when the record has no EXIF data or no capture date.
    State capture = State::None;
    std::int64_t captureMs = 0;
    bool hasCreate = false;
    std::int64_t createMs = 0;

    static RecordTimes of(const ImageFileInfo &record);
};

class PairScore
{
public:
    // Returned for every veto; lies below any grouping threshold the window offers.
    static constexpr float kNoMatch = 0.7f;
    // Metres: the mean Earth radius of the great-circle distance.
    static constexpr double kEarthRadius = 6371008.8;

    // The score of A (the record being placed) against B (a member of a group), or kNoMatch.
    static float compareImages(
        const ImageFileInfo &a, const ImageFileInfo &b, const PairScoreOptions &options);
    // The same with each record's dates converted beforehand.
    static float compareImages(const ImageFileInfo &a, const RecordTimes &aTimes, const ImageFileInfo &b,
        const RecordTimes &bTimes, const PairScoreOptions &options);
    // (N*N - d) / (N*N) of the first of B's allowed variants within the allowed distance of A's
    // variant 0; when none is, d is the partial sum where the last tried variant stopped, and a
    // score that would still reach m is kNoMatch.
    static float hashDistanceScore(
        const ImageFileInfo &a, const ImageFileInfo &b, const PairScoreOptions &options);
    // Metres between the two GPS positions; -1 when either has none (a coordinate of exactly 0.0
    // counts as none).
    static double gpsDistance(const ImageFileInfo &a, const ImageFileInfo &b);

    // t = trunc((1 - m) * N*N), every step in single precision: with N = 80 and m = 0.85 this is
    // 959, not 960, and changing it changes which pairs group.
    static std::int64_t allowedDistance(int n, float sliderMinValue);
    // Variant 0 is always tried; rotations (1-3) and flips (4 on) only when the options ask.
    static bool isVariantTried(int variant, const PairScoreOptions &options);
    // Great-circle distance in metres between two positions given in degrees.
    static double greatCircleDistance(
        double latitudeA, double longitudeA, double latitudeB, double longitudeB);

    enum class TimeVeto { None, CaptureDates, FileDates };
    // The time veto alone: which dates differ by more than the options' limit, if any.
    static TimeVeto timeVeto(const RecordTimes &a, const RecordTimes &b, const PairScoreOptions &options);
    static bool isOutsideTimeLimit(
        const RecordTimes &a, const RecordTimes &b, const PairScoreOptions &options)
    {
        return timeVeto(a, b, options) != TimeVeto::None;
    }
};
