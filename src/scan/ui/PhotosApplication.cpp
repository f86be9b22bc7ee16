#include "scan/ui/PhotosApplication.h"

#include "app/CommonFunc.h"

namespace
{

class DesktopPhotosApplication : public PhotosApplication
{
public:
    bool isRunning() const override
    {
        return CommonFunc::isApplicationRunning(QStringLiteral("com.apple.Photos"));
    }
    void quit() override { }
};

PhotosApplication *&installed()
{
    static PhotosApplication *application = nullptr;
    return application;
}

} // namespace

PhotosApplication &PhotosApplication::current()
{
    static DesktopPhotosApplication desktop;
    return installed() ? *installed() : desktop;
}

void PhotosApplication::setCurrent(PhotosApplication *application)
{
    installed() = application;
}
