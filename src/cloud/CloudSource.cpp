// The interface's anchor.
#include "cloud/CloudSource.h"

CloudSource::~CloudSource() = default;
