#include "platform/HttpRequest.h"

#include <algorithm>
#include <limits>

namespace
{

constexpr qint64 kListedSizeMarginBytes = 1024LL * 1024;

} // namespace

HttpRequest HttpRequest::get(const QUrl &url)
{
    HttpRequest request;
    request.url = url;
    return request;
}

HttpRequest HttpRequest::postJson(const QUrl &url, const QByteArray &json)
{
    HttpRequest request;
    request.method = "POST";
    request.url = url;
    request.body = json;
    request.contentType = "application/json";
    return request;
}

qint64 HttpRequest::maxBodyForListedSize(qint64 listedBytes)
{
    if (listedBytes <= 0)
        return kUnlistedFileMaxBytes;
    // Room for a server that re-encodes what it serves (Drive's image links do).
    return listedBytes + listedBytes / 4 + kListedSizeMarginBytes;
}

int HttpRequest::deadlineForListedSize(qint64 listedBytes, int floorMs)
{
    const qint64 transferMs = std::max<qint64>(listedBytes, 0) / kSlowestBytesPerSecond * 1000;
    return int(std::min<qint64>(qint64(std::max(floorMs, 1)) + transferMs, std::numeric_limits<int>::max()));
}

void HttpRequest::limitToListedSize(qint64 listedBytes, int floorMs)
{
    maxBodyBytes = maxBodyForListedSize(listedBytes);
    deadlineMs = deadlineForListedSize(listedBytes, floorMs);
}
