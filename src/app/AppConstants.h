// Alias class of the shared enumerations; code written against either name sees the same types.
#pragma once

#include "app/GlobalObjects.h"

class AppConstants : public GlobalObjects
{
};
