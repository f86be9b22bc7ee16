#include "platform/HttpRequest.h"

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
