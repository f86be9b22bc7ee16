// The interface's out-of-line destructor.
#include "platform/PhotosLibraryBridge.h"

PhotosLibraryBridge::~PhotosLibraryBridge() = default;

void PhotosLibraryBridge::describeItem(const QString &, const QString &) { }
