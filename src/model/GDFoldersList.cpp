// A Drive folder node holds data only; this unit keeps the class's definition in one library.
#include "model/GDFoldersList.h"
