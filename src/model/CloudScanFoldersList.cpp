// A cloud folder node holds data only; this unit keeps the class's definition in one library.
#include "model/CloudScanFoldersList.h"

#include "model/ImageFileInfo.h"
