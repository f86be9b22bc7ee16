// The enumerations that several subsystems share, grouped in one class.
#pragma once

#include <cstdint>
#include <optional>

// Where a scan's files come from. Settings and cache file names store these numbers.
enum class ScanSource : std::uint8_t {
    thisComputer = 0,
    googleDrive = 1,
    dropbox = 2,
};

// Google Drive and Dropbox: files listed by a provider, read from local copies.
constexpr bool isCloudSource(ScanSource source)
{
    return source != ScanSource::thisComputer;
}

class GlobalObjects
{
public:
    // Kind of a scan-list source.
    enum class NodeType : int {
        nodeTypefile = 0,
        nodeTypefolder = 1,
        nodeTypePhotos = 2,
        nodeTypeiPhoto = 3,
        nodeTypeGoogleDrive = 4,
        nodeTypeDropBox = 5,
    };

    // Exact matching (MD5 of the content) or similar matching (image fingerprint).
    enum class CompareType : int {
        ctMD5 = 0,
        ctHash = 1,
    };

    // Which file kinds a result view shows.
    enum class TypeSupport : int {
        ALLFILES = 0,
        ONLYIMAGES = 1,
        ONLYVIDEO = 2,
    };

    // Page of the Photos clean-up steps window.
    enum class StepNumberForPhotos : int {
        stepNumberOneForPhotos = 1,
        stepNumberTwoForPhotos = 2,
        stepNumberThreeForPhotos = 3,
        stepNumberFourForPhotos = 4,
    };

    // A raw value outside the listed cases gives no case.
    static std::optional<NodeType> nodeTypeFromRaw(int raw)
    {
        return inRange(raw, 0, 5) ? std::optional<NodeType>(static_cast<NodeType>(raw)) : std::nullopt;
    }
    static std::optional<ScanSource> scanSourceFromRaw(int raw)
    {
        return inRange(raw, 0, 2) ? std::optional<ScanSource>(static_cast<ScanSource>(raw)) : std::nullopt;
    }
    static std::optional<CompareType> compareTypeFromRaw(int raw)
    {
        return inRange(raw, 0, 1) ? std::optional<CompareType>(static_cast<CompareType>(raw)) : std::nullopt;
    }
    static std::optional<TypeSupport> typeSupportFromRaw(int raw)
    {
        return inRange(raw, 0, 2) ? std::optional<TypeSupport>(static_cast<TypeSupport>(raw)) : std::nullopt;
    }
    static std::optional<StepNumberForPhotos> stepNumberForPhotosFromRaw(int raw)
    {
        return inRange(raw, 1, 4) ? std::optional<StepNumberForPhotos>(static_cast<StepNumberForPhotos>(raw))
                                  : std::nullopt;
    }

private:
    static constexpr bool inRange(int raw, int low, int high) { return raw >= low && raw <= high; }
};
