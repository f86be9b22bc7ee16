// The generated photo trees of the scan tests, shared with the window-level scan tests.
#include "scan/ScanTestSupport.cpp"
