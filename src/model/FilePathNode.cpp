// A scan-list entry holds data only; this unit keeps the class's definition in one library.
#include "model/FilePathNode.h"

#include "model/CloudScanFoldersList.h"
#include "model/GDFoldersList.h"
