// Bounded reads for the results window's preview.
#include "results/PreviewRead.h"

#include "model/ExifInfo.h"
#include "model/ImageProcessing.h"
#include "platform/Dispatch.h"
#include "platform/PathLook.h"

namespace
{

// Runs on the look's own thread: it owns its copy of the request.
PreviewRead::Answer readFile(const PreviewRead::Request &request)
{
    PreviewRead::Answer answer;
    if (request.exif) {
        answer.exif = std::make_shared<ExifInfo>();
        answer.exif->initWithFileWithPath(request.path);
    }
    if (!request.image.isEmpty())
        answer.image = ImageProcessing::getImageFromFile(
            request.path, float(request.image.width()), float(request.image.height()));
    return answer;
}

} // namespace

PreviewRead::Answer PreviewRead::read(const Request &request)
{
    PathLook::Result<Answer> looked = PathLook::current().look<Answer>(
        request.path, [request] { return readFile(request); }, nullptr);
    Answer answer = looked.answer.value_or(Answer {});
    answer.silentMount = looked.silentMount;
    return answer;
}

void PreviewRead::start(const Request &request, std::function<void(const Answer &)> done)
{
    Dispatch::global([request, done = std::move(done)] {
        Answer answer = read(request);
        Dispatch::main([done, answer = std::move(answer)] { done(answer); });
    });
}
