// A group holds data only; this unit keeps the class's definition in one library.
#include "model/DuplicatesGroup.h"

#include "model/ImageFileInfo.h"
